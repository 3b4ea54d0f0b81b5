#pragma once
// Records the message boxes shown while it lives instead of showing them; the hook installed before comes back at
// its end. A box without text (a string id missing from the table) fails the test at once.

#include "MessageBoxes.h"
#include "TextIds.h"

#include <QString>

#include <functional>
#include <ostream>
#include <vector>

namespace trelmo {
// Test output names a text by its number.
void PrintTo(TextId id, std::ostream* out);
} // namespace trelmo

namespace trelmo::testing {

class MessageRecorder {
public:
    using Observer = std::function<void(MessageBoxKind kind, const QString& text)>;

    // observer, when given, is told of each box after it was recorded.
    explicit MessageRecorder(Observer observer = {});
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    // The ids of the texts shown, in order (TextId::NoText for a text that is no numbered text).
    std::vector<TextId> Ids() const;
    void Clear();

    std::vector<MessageBoxKind> kinds;
    std::vector<QString> texts;

private:
    MessageBoxHook previous_;
};

} // namespace trelmo::testing
