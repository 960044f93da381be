#pragma once

namespace kestrum {

// The primary display as the layout rules see it.
struct ScreenMetrics {
    int width = 1280;
    int height = 1024;
    double logicalDpi = 96.0;
    // What windows may take of it, less the desktop's panels; 0 where nothing is kept back.
    int availableWidth = 0;
    int availableHeight = 0;
};

class Screen {
public:
    virtual ~Screen() = default;
    virtual ScreenMetrics metrics() const = 0;
};

class FixedScreen final : public Screen {
public:
    explicit FixedScreen(ScreenMetrics metrics) : metrics_(metrics) {}
    ScreenMetrics metrics() const override { return metrics_; }

private:
    ScreenMetrics metrics_;
};

}  // namespace kestrum
