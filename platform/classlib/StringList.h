// The class library's list of strings, with its text form (lines joined by CR LF).
#pragma once

#include "platform/classlib/AnsiString.h"
#include "platform/classlib/Streams.h"

#include <vector>

namespace ClassLib {

class TStringList {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    const AnsiString& operator[](int index) const;
    AnsiString& operator[](int index);
    int Add(const AnsiString& s);
    void Insert(int index, const AnsiString& s);
    void Delete(int index);
    void Clear() { FItems.clear(); }
    // The first entry equal to s ignoring letter case, or -1.
    int IndexOf(std::string_view s) const;
    void Sort();

    // "name=value" entries: the value of the first entry whose name matches ignoring case.
    AnsiString Values(std::string_view name) const;

    AnsiString Text() const;
    // Splits at CR LF, a lone CR or a lone LF.
    void SetText(std::string_view text);
    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream) const;
    void LoadFromFile(const AnsiString& fileName);
    void SaveToFile(const AnsiString& fileName) const;

    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }

private:
    void CheckIndex(int index, bool allowEnd) const;
    std::vector<AnsiString> FItems;
};

} // namespace ClassLib
