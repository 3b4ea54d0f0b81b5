#include "MessageRecorder.h"

#include "StringTable.h"

#include <gtest/gtest.h>

#include <utility>

namespace trelmo {

void PrintTo(TextId id, std::ostream* out)
{
    *out << "text " << static_cast<int>(id);
}

} // namespace trelmo

namespace trelmo::testing {
namespace {

TextId IdOf(const QString& text)
{
    for (TextId id : AllTextIds) {
        if (LoadText(id) == text)
            return id;
    }
    return TextId::NoText;
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

std::vector<TextId> MessageRecorder::Ids() const
{
    std::vector<TextId> ids;
    for (const QString& text : texts)
        ids.push_back(IdOf(text));
    return ids;
}

void MessageRecorder::Clear()
{
    kinds.clear();
    texts.clear();
}

} // namespace trelmo::testing
