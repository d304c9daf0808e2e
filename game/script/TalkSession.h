// One conversation played page by page, as the talk dialog drives it: each page's
// text split into what is said and the answers offered, the answer chosen by
// index. A script error ends the conversation instead of escaping: the game goes on.
//
//   TTalkSession talk(conversation, group);
//   TTalkPage page;
//   while (talk.NextPage(page))
//       if (!page.Answers.empty())
//           talk.Choose(0);
#pragma once

#include "platform/classlib/AnsiString.h"

#include <vector>

namespace GameData {

class TConversation;
class TGroup;

struct TTalkPage {
    ClassLib::AnsiString Text;                 // as the page's mark-up returned it
    ClassLib::AnsiString Said;                 // the text without its answer blocks
    std::vector<ClassLib::AnsiString> Answers; // each "<CHOICE>" block's text
};

// Said and the answers of a page's text.
TTalkPage SplitTalkPage(const ClassLib::AnsiString& text);

class TTalkSession {
public:
    // The conversation runs for the group (null for none), no answer chosen yet.
    TTalkSession(TConversation& conversation, TGroup* talkingGroup);
    // The conversation is no longer running.
    ~TTalkSession();
    TTalkSession(const TTalkSession&) = delete;
    TTalkSession& operator=(const TTalkSession&) = delete;

    // The next page; false once every page has been shown or a page failed.
    bool NextPage(TTalkPage& page);
    // The answer of the page shown, by index; false (nothing chosen) outside its answers.
    bool Choose(int answerIndex);
    bool Ended() const { return FEnded; }
    // The script error that ended the conversation; empty when none did.
    const ClassLib::AnsiString& Error() const { return FError; }

private:
    void End();

    TConversation& FConversation;
    int FNextPage = 0;
    size_t FAnswerCount = 0;
    bool FEnded = false;
    ClassLib::AnsiString FError;
};

} // namespace GameData
