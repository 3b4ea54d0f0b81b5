#include "MessageRecorder.h"

#include "StringTable.h"

#include <gtest/gtest.h>

#include <utility>

namespace trelmo::testing {
namespace {

// Beyond every id the string table holds.
constexpr int HighestTextId = 999;

int TextId(const QString& text)
{
    for (int id = 1; id <= HighestTextId; ++id) {
        if (LoadText(id) == text)
            return id;
    }
    return 0;
}

} // namespace

MessageRecorder::MessageRecorder(Observer observer)
{
    previous_ = SetMessageBoxHook([this, observer = std::move(observer)](MessageBoxKind kind, const QString& text) {
        EXPECT_FALSE(text.isEmpty()) << "a message box without text";
        kinds.push_back(kind);
        texts.push_back(text);
        if (observer)
            observer(kind, text);
    });
}

MessageRecorder::~MessageRecorder()
{
    SetMessageBoxHook(std::move(previous_));
}

std::vector<int> MessageRecorder::Ids() const
{
    std::vector<int> ids;
    for (const QString& text : texts)
        ids.push_back(TextId(text));
    return ids;
}

void MessageRecorder::Clear()
{
    kinds.clear();
    texts.clear();
}

} // namespace trelmo::testing
