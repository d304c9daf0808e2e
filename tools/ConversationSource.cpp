#include "tools/ConversationSource.h"

#include "platform/classlib/Exception.h"

namespace Tools {

using ClassLib::AnsiString;
using GameData::TConversation;

namespace {

class TSourceReader {
public:
    explicit TSourceReader(std::string_view text) : FText(text) {}

    std::vector<std::unique_ptr<TConversation>> Read() {
        std::vector<std::unique_ptr<TConversation>> read;
        for (AnsiString line; NextLine(line);) {
            if (line.empty() || line.starts_with("#"))
                continue;
            const size_t blank = line.find(' ');
            const AnsiString key = line.substr(0, blank);
            const AnsiString value =
                blank == AnsiString::npos ? AnsiString() : ClassLib::Trim(line.substr(blank));
            if (key == "conversation") {
                read.push_back(std::make_unique<TConversation>());
                const size_t nameStart = value.find(' ');
                read.back()->ID = uint32_t(Number(value.substr(0, nameStart)));
                if (nameStart != AnsiString::npos)
                    read.back()->Name = ClassLib::Trim(value.substr(nameStart));
                continue;
            }
            if (read.empty())
                Fail("a conversation must start with \"conversation <ID> <name>\"");
            Apply(*read.back(), key, value);
        }
        return read;
    }

private:
    bool NextLine(AnsiString& line) {
        if (FPos >= FText.size())
            return false;
        const size_t end = FText.find('\n', FPos);
        const std::string_view raw =
            FText.substr(FPos, end == std::string_view::npos ? std::string_view::npos : end - FPos);
        FPos = end == std::string_view::npos ? FText.size() : end + 1;
        ++FLine;
        line = ClassLib::Trim(raw);
        return true;
    }

    void Apply(TConversation& conversation, const AnsiString& key, const AnsiString& value) {
        if (key == "owner") {
            const size_t blank = value.find(' ');
            if (blank == AnsiString::npos)
                Fail("owner needs a type and an ID");
            conversation.OwnerType = Number(value.substr(0, blank));
            conversation.OwnerID = Number(ClassLib::Trim(value.substr(blank)));
        } else if (key == "turn") {
            conversation.ActivationTurn = Number(value);
        } else if (key == "players") {
            conversation.TargetPlayers = uint16_t(Number(value));
        } else if (key == "active") {
            conversation.Active = Number(value) != 0;
        } else if (key == "speaker") {
            conversation.OwnerName = value;
        } else if (key == "face") {
            conversation.FaceID = uint32_t(Number(value));
        } else if (key == "page") {
            conversation.Texts.push_back(ReadPage());
        } else {
            Fail(ClassLib::Format("unknown line \"%s\"", key));
        }
    }

    AnsiString ReadPage() {
        AnsiString page;
        for (AnsiString line; NextLine(line);) {
            if (line == "end")
                return page;
            if (line.empty())
                continue;
            if (!page.empty())
                page += ' ';
            page += line;
        }
        Fail("a page has no \"end\"");
    }

    int32_t Number(const AnsiString& text) const {
        int value = 0;
        if (!ClassLib::TryStrToInt(text, value))
            Fail(ClassLib::Format("\"%s\" is not a number", text));
        return value;
    }

    [[noreturn]] void Fail(const AnsiString& message) const {
        throw ClassLib::Exception(
            ClassLib::Format("Conversation source, line %d: %s", FLine, message));
    }

    std::string_view FText;
    size_t FPos = 0;
    int FLine = 0;
};

} // namespace

std::vector<std::unique_ptr<TConversation>> ReadConversationSource(std::string_view text) {
    return TSourceReader(text).Read();
}

} // namespace Tools
