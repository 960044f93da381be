#pragma once

#include <array>
#include <string_view>

namespace kestrum {

class DrillHost;
class KeyGuide;

// The home-position tutorial of lesson 0: an introduction and sixteen pages of four lines, one
// page further for each blank, while the keyboard blinks the keys the page talks about. Nothing
// is judged, counted, sounded or recorded.
class Tutorial {
public:
    using PageLines = std::array<std::string_view, 4>;  // UTF-8
    static constexpr int kShownPages = 16;

    // Shows the introduction, sets page 0 and starts timer_special.
    void begin(DrillHost& host);

    // A character key during the tutorial: a blank goes one page on, anything else is ignored.
    void keyPress(unsigned char key);

    // Shows page `page` and counts it, while fewer than sixteen pages have been shown; after
    // that it changes nothing.
    void ShowNextPage();

    // A tick of timer_special: lights or darkens the keys of the current page.
    void blink(KeyGuide& guide) const;

    // Pages shown so far: 0 while the introduction is on screen, at most 16.
    int page() const { return page_; }
    // The four lines on screen.
    const PageLines& lines() const { return *lines_; }

    static const PageLines& introduction();
    // Page n of the table, 0..16; 16, like any number outside the table, is four blank lines.
    static const PageLines& explanationPage(int n);

private:
    int page_ = 0;
    const PageLines* lines_ = &introduction();
};

}  // namespace kestrum
