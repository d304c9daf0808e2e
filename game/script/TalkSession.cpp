#include "game/script/TalkSession.h"

#include "game/script/Conversation.h"
#include "platform/classlib/Exception.h"

namespace GameData {

using ClassLib::AnsiString;

namespace {

constexpr std::string_view OpenChoice = "<CHOICE>";
constexpr std::string_view CloseChoice = "<ENDCHOICE>";

} // namespace

TTalkPage SplitTalkPage(const AnsiString& text) {
    TTalkPage page;
    page.Text = text;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t open = text.find(OpenChoice, pos);
        const size_t close =
            open == AnsiString::npos ? open : text.find(CloseChoice, open + OpenChoice.size());
        if (close == AnsiString::npos) {
            page.Said += text.substr(pos);
            break;
        }
        page.Said += text.substr(pos, open - pos);
        const size_t start = open + OpenChoice.size();
        page.Answers.push_back(text.substr(start, close - start));
        pos = close + CloseChoice.size();
    }
    return page;
}

TTalkSession::TTalkSession(TConversation& conversation, TGroup* talkingGroup)
    : FConversation(conversation) {
    FConversation.Running = true;
    FConversation.SetTalkingGroup(talkingGroup);
    FConversation.ChosenAnswer = 0;
}

TTalkSession::~TTalkSession() {
    End();
}

bool TTalkSession::NextPage(TTalkPage& page) {
    if (FEnded || size_t(FNextPage) >= FConversation.Texts.size()) {
        End();
        return false;
    }
    try {
        page = SplitTalkPage(FConversation.GetText(FNextPage++));
    } catch (const ClassLib::Exception& error) {
        // The page is lost, what its commands did stays.
        FError = error.Message;
        End();
        return false;
    }
    FAnswerCount = page.Answers.size();
    FConversation.ChosenAnswer = 0;
    return true;
}

bool TTalkSession::Choose(int answerIndex) {
    if (FEnded || answerIndex < 0 || size_t(answerIndex) >= FAnswerCount)
        return false;
    FConversation.ChosenAnswer = answerIndex + 1;
    return true;
}

void TTalkSession::End() {
    FEnded = true;
    FConversation.Running = false;
}

} // namespace GameData
