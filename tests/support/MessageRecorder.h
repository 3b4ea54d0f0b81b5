#pragma once
// Records the message boxes shown while it lives instead of showing them; the hook installed before comes back at
// its end. A box without text (a string id missing from the table) fails the test at once.

#include "MessageBoxes.h"

#include <QString>

#include <functional>
#include <vector>

namespace trelmo::testing {

class MessageRecorder {
public:
    using Observer = std::function<void(MessageBoxKind kind, const QString& text)>;

    // observer, when given, is told of each box after it was recorded.
    explicit MessageRecorder(Observer observer = {});
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    // The string ids of the texts shown, in order (0 for a text that is not in the table).
    std::vector<int> Ids() const;
    void Clear();

    std::vector<MessageBoxKind> kinds;
    std::vector<QString> texts;

private:
    MessageBoxHook previous_;
};

} // namespace trelmo::testing
