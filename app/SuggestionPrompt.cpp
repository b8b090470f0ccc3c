#include "SuggestionPrompt.h"

#include "CCorvaneDoc.h"
#include "Prompts.h"

bool SuggestionPrompt::Confirm(CCorvaneDoc& doc, Prompts& prompts,
                               const std::vector<const EntryInfo*>& unconfirmed,
                               const QString& action)
{
    if (unconfirmed.empty())
        return true;
    switch (prompts.Ask(Question(unconfirmed.size(), action), Prompts::Icon::Question,
                        Prompts::Buttons::YesNoCancel)) {
    case Prompts::Answer::Yes:
        doc.ConfirmVisits(doc.PositionsOf(unconfirmed));
        return true;
    case Prompts::Answer::No:
        return true; // they go out empty
    default:
        return false;
    }
}

QString SuggestionPrompt::Question(std::size_t count, const QString& action)
{
    return QStringLiteral("確定していない訪問先の候補が %1 件あります。\n"
                          "候補を確定して%2しますか？\n"
                          "（「いいえ」では、候補の訪問先を空欄にして%2します）")
        .arg(count)
        .arg(action);
}
