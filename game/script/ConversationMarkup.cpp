// The conversation mark-up: only text inside "<TEXT>" and "<CHOICE>" blocks and
// the output of commands reach the page; IF, LOOP and WHILE blocks nest; notes go
// to a player's notebook.
#include "game/script/Conversation.h"

#include "game/script/ScriptTags.h"
#include "game/script/WorldQueries.h"
#include "game/world/scenario/Scenario.h"
#include "platform/classlib/Exception.h"

namespace GameData {

using ClassLib::AnsiString;

namespace {

// Each block runs one level deeper on the stack; real pages nest a few levels.
constexpr int MaxBlockDepth = 256;
// Passes of all LOOP and WHILE blocks of one page together: far more than any real
// page makes, few enough that a loop that never ends cannot hang the game.
constexpr int MaxLoopPasses = 100000;

// What a collecting block refuses inside it, and how it ends.
struct TBlockRules {
    std::string_view Close;
    const char* Missing;
    const char* NestedText;
    const char* NestedChoice;
    const char* NestedNote;
    const char* NestedIf;
};

constexpr TBlockRules TextBlock{"<ENDTEXT>",
                                "Could not find <EndText>!",
                                "No nested <Text> commands supported!",
                                "No <Choice> command supported in <Text> command!",
                                "No <Note()> command supported in <Text> command!",
                                "No <If..> commands supported in <Text> command!"};
constexpr TBlockRules ChoiceBlock{"<ENDCHOICE>",
                                  "Could not find <EndChoice>!",
                                  "No <Text> command supported in <Choice> command!",
                                  "No nested <Choice> commands supported!",
                                  "No <Note()> command supported in <Choice> command!",
                                  "No <If..> commands supported in <Choice> command!"};
constexpr TBlockRules NoteBlock{"<ENDNOTE>",
                                "Could not find <EndNote>!",
                                "No <Text> command supported in <Note()> command!",
                                "No <Choice> command supported in <Note()> command!",
                                "No nested <Note()> commands supported!",
                                "No <If..> commands supported in <Note> command!"};

// Takes the next tag off the front of text, upper-cased; the text before it is
// handed back in skipped. False when no tag is left.
bool TakeTag(std::string_view& text, std::string_view& skipped, AnsiString& tag) {
    TTagSpan span;
    if (!FindNextTag(text, span))
        return false;
    skipped = text.substr(0, span.Start);
    tag = ClassLib::UpperCase(text.substr(span.Start, span.Length));
    text.remove_prefix(span.Start + span.Length);
    return true;
}

std::string_view Inner(std::string_view tag) {
    return tag.size() >= 2 ? tag.substr(1, tag.size() - 2) : std::string_view();
}

} // namespace

// The interpreter's walk over one page: its depth and the loop passes spent.
class TMarkupRun {
public:
    explicit TMarkupRun(TConversation& conversation) : C(conversation) {}

    AnsiString Interpret(std::string_view text, int depth);

private:
    void Collect(std::string_view& text, AnsiString& output, const TBlockRules& rules);
    void IfBlock(const AnsiString& tag, std::string_view& text, AnsiString& output, int depth);
    void LoopBlock(const AnsiString& tag, std::string_view& text, AnsiString& output, int depth);
    void WhileBlock(const AnsiString& tag, std::string_view& text, AnsiString& output, int depth);
    void NoteBlockAt(const AnsiString& tag, std::string_view& text);
    // The body's closing tag, or the script error naming the rest of the text.
    size_t BlockEnd(size_t end, std::string_view text, const char* missing) const;
    void SpendPass();
    // The block's tag becomes the command errors name; its parameter text.
    AnsiString OpenBlock(const AnsiString& tag);

    TConversation& C;
    int FPasses = 0;
};

AnsiString TMarkupRun::Interpret(std::string_view text, int depth) {
    if (depth > MaxBlockDepth)
        C.ScriptError("Blocks nested too deeply!");
    AnsiString output;
    std::string_view skipped;
    AnsiString tag;
    while (!text.empty() && TakeTag(text, skipped, tag)) {
        if (tag.starts_with("<IF"))
            IfBlock(tag, text, output, depth);
        else if (tag == "<CRLF>")
            continue;
        else if (tag == "<TEXT>")
            Collect(text, output, TextBlock);
        else if (tag == "<CHOICE>") {
            output += "<CHOICE>";
            Collect(text, output, ChoiceBlock);
            output += "<ENDCHOICE>";
        } else if (tag.starts_with("<NOTE"))
            NoteBlockAt(tag, text);
        else if (tag.starts_with("<LOOP"))
            LoopBlock(tag, text, output, depth);
        else if (tag.starts_with("<WHILE"))
            WhileBlock(tag, text, output, depth);
        else
            C.ExecuteCommand(tag, output);
    }
    return output;
}

void TMarkupRun::Collect(std::string_view& text, AnsiString& output, const TBlockRules& rules) {
    std::string_view skipped;
    AnsiString tag;
    for (;;) {
        if (!TakeTag(text, skipped, tag)) {
            output += text;
            text = {};
            throw ClassLib::Exception(rules.Missing);
        }
        output += skipped;
        if (tag == "<TEXT>")
            throw ClassLib::Exception(rules.NestedText);
        if (tag == "<CHOICE>")
            throw ClassLib::Exception(rules.NestedChoice);
        if (tag.starts_with("<NOTE("))
            throw ClassLib::Exception(rules.NestedNote);
        if (tag.starts_with("<IF"))
            throw ClassLib::Exception(rules.NestedIf);
        if (tag == rules.Close)
            return;
        C.ExecuteCommand(tag, output);
    }
}

size_t TMarkupRun::BlockEnd(size_t end, std::string_view text, const char* missing) const {
    if (end == std::string_view::npos)
        C.ScriptError(ClassLib::Format(missing, AnsiString(text)));
    return end;
}

void TMarkupRun::IfBlock(const AnsiString& tag, std::string_view& text, AnsiString& output,
                         int depth) {
    // A block without its end is reported at its IF.
    C.CurrentCommand = AnsiString(Inner(tag));
    const size_t endIf = BlockEnd(FindEndIf(text), text, "Could not find <EndIf> in text: %s");
    const size_t elsePos = FindElse(text);
    const bool hasElse = elsePos != std::string_view::npos;
    if (C.ExecuteCommand(tag, output))
        output += Interpret(text.substr(0, hasElse ? elsePos : endIf), depth + 1);
    else if (hasElse) {
        const size_t start = elsePos + std::string_view("<ELSE>").size();
        output += Interpret(text.substr(start, endIf - start), depth + 1);
    }
    text.remove_prefix(endIf + std::string_view("<ENDIF>").size());
}

void TMarkupRun::LoopBlock(const AnsiString& tag, std::string_view& text, AnsiString& output,
                           int depth) {
    AnsiString params = OpenBlock(tag);
    const int32_t count = C.NextExpression(params);
    C.CheckNoMoreParameters(params);
    const size_t end = BlockEnd(FindEndLoop(text), text, "Could not find <EndLoop> in text: %s");
    const std::string_view body = text.substr(0, end);
    for (int32_t pass = 0; pass < count; ++pass) {
        C.CurrentCommand = AnsiString(Inner(tag));
        SpendPass();
        output += Interpret(body, depth + 1);
    }
    text.remove_prefix(end + std::string_view("<ENDLOOP>").size());
}

void TMarkupRun::WhileBlock(const AnsiString& tag, std::string_view& text, AnsiString& output,
                            int depth) {
    AnsiString params = OpenBlock(tag);
    const AnsiString condition = C.NextParameter(params);
    C.CheckNoMoreParameters(params);
    const size_t end = BlockEnd(FindEndWhile(text), text, "Could not find <EndWhile> in text: %s");
    const std::string_view body = text.substr(0, end);
    for (;;) {
        // Errors of the condition name the WHILE, not the body's last command.
        C.CurrentCommand = AnsiString(Inner(tag));
        if (C.EvaluateExpression(condition) == 0)
            break;
        SpendPass();
        output += Interpret(body, depth + 1);
    }
    text.remove_prefix(end + std::string_view("<ENDWHILE>").size());
}

AnsiString TMarkupRun::OpenBlock(const AnsiString& tag) {
    C.CurrentCommand = AnsiString(Inner(tag));
    return SplitCommand(Inner(tag)).Params;
}

void TMarkupRun::SpendPass() {
    if (++FPasses > MaxLoopPasses)
        C.ScriptError(ClassLib::Format("LOOP or WHILE stopped after %d passes!", MaxLoopPasses));
}

void TMarkupRun::NoteBlockAt(const AnsiString& tag, std::string_view& text) {
    AnsiString params = OpenBlock(tag);
    int32_t player = C.NextOptionalExpression(params, -1);
    C.CheckNoMoreParameters(params);
    if (player < 0 && C.Scenario)
        player = C.Scenario->CurrentPlayerIndex;
    if (!C.Scenario || !IsPlayerIndex(*C.Scenario, player))
        C.ScriptError(ClassLib::Format("Invalid player index: %d.", player));
    AnsiString note;
    Collect(text, note, NoteBlock);
    C.Scenario->PlayerAt(player)->Texts1.Add(note); // the player's notes
}

AnsiString TConversation::Interpret(std::string_view text) {
    return TMarkupRun(*this).Interpret(text, 0);
}

AnsiString TConversation::GetText(int32_t page) {
    UnitsPlaced = false;
    if (page < 0 || size_t(page) >= Texts.size())
        return {};
    return Interpret(Texts[size_t(page)]);
}

} // namespace GameData
