#include "platform/classlib/StringList.h"

#include "platform/classlib/Exception.h"
#include "platform/classlib/Files.h"

#include <algorithm>

namespace ClassLib {

void TStringList::CheckIndex(int index, bool allowEnd) const {
    if (index < 0 || index > Count() || (index == Count() && !allowEnd))
        throw EListError(Format("List index out of bounds (%d)", index));
}

const AnsiString& TStringList::operator[](int index) const {
    CheckIndex(index, false);
    return FItems[static_cast<size_t>(index)];
}

AnsiString& TStringList::operator[](int index) {
    CheckIndex(index, false);
    return FItems[static_cast<size_t>(index)];
}

int TStringList::Add(const AnsiString& s) {
    FItems.push_back(s);
    return Count() - 1;
}

void TStringList::Insert(int index, const AnsiString& s) {
    CheckIndex(index, true);
    FItems.insert(FItems.begin() + index, s);
}

void TStringList::Delete(int index) {
    CheckIndex(index, false);
    FItems.erase(FItems.begin() + index);
}

int TStringList::IndexOf(std::string_view s) const {
    for (int i = 0; i < Count(); ++i)
        if (SameText(FItems[static_cast<size_t>(i)], s))
            return i;
    return -1;
}

void TStringList::Sort() {
    std::stable_sort(FItems.begin(), FItems.end(), [](const AnsiString& a, const AnsiString& b) {
        return CompareText(a, b) < 0;
    });
}

AnsiString TStringList::Values(std::string_view name) const {
    for (const AnsiString& item : FItems) {
        const size_t equals = item.find('=');
        if (equals != AnsiString::npos && SameText(std::string_view(item).substr(0, equals), name))
            return item.substr(equals + 1);
    }
    return AnsiString();
}

AnsiString TStringList::Text() const {
    AnsiString text;
    for (const AnsiString& item : FItems) {
        text += item;
        text += "\r\n";
    }
    return text;
}

void TStringList::SetText(std::string_view text) {
    FItems.clear();
    size_t start = 0;
    while (start < text.size()) {
        size_t end = start;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n')
            ++end;
        FItems.emplace_back(text.substr(start, end - start));
        if (end < text.size() && text[end] == '\r')
            ++end;
        if (end < text.size() && text[end] == '\n')
            ++end;
        start = end;
    }
}

void TStringList::LoadFromStream(TStream& stream) {
    const int64_t size = stream.Remaining();
    AnsiString text(static_cast<size_t>(size), '\0');
    stream.ReadBuffer(text.data(), size);
    SetText(text);
}

void TStringList::SaveToStream(TStream& stream) const {
    const AnsiString text = Text();
    stream.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
}

void TStringList::LoadFromFile(const AnsiString& fileName) {
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
}

void TStringList::SaveToFile(const AnsiString& fileName) const {
    const AnsiString text = Text();
    WriteFileAtomically(fileName, text.data(), text.size());
}

} // namespace ClassLib
