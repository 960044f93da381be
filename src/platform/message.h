#pragma once

#include <string>
#include <vector>

namespace kestrum {

// A message box the engine asks the window layer to show. Texts are UTF-8.
struct Message {
    enum class Icon { None, Information, Stop };

    Icon icon = Icon::None;
    std::string text;
    std::string caption;  // empty: the application title

    bool operator==(const Message&) const = default;
};

using Messages = std::vector<Message>;

inline Message plainMessage(std::string text) {
    return {Message::Icon::None, std::move(text), {}};
}
inline Message infoMessage(std::string text) {
    return {Message::Icon::Information, std::move(text), {}};
}

}  // namespace kestrum
