#include "HistoryCodes.h"

#include "ClaimRules.h"

QString TerminalTypeText(std::uint8_t code)
{
    switch (code) {
    case 3:
        return QStringLiteral("精算機");
    case 4:
        return QStringLiteral("携帯型端末");
    case 5:
        return QStringLiteral("車載端末");
    case 7:
    case 8:
    case 18:
        return QStringLiteral("券売機");
    case 9:
        return QStringLiteral("入金機");
    case 20:
    case 21:
        return QStringLiteral("券売機等");
    case 22:
        return QStringLiteral("改札機");
    case 23:
        return QStringLiteral("簡易改札機");
    case 24:
    case 25:
        return QStringLiteral("窓口端末");
    case 26:
        return QStringLiteral("改札端末");
    case 27:
        return QStringLiteral("携帯電話");
    case 28:
        return QStringLiteral("乗継精算機");
    case 29:
        return QStringLiteral("連絡改札機");
    case 31:
        return QStringLiteral("簡易入金機");
    case 70:
    case 72:
        return QStringLiteral("ATM");
    case 199:
        return QStringLiteral("物販");
    case 200:
        return QStringLiteral("自販機等");
    default:
        return QString();
    }
}

QString ProcessTypeText(std::uint8_t code)
{
    switch (code) {
    case 1:
        return QStringLiteral("運賃支払");
    case 2:
        return QStringLiteral("チャージ");
    case 3:
        return QStringLiteral("磁気券購入");
    case 4:
        return QStringLiteral("精算");
    case 5:
        return QStringLiteral("入場精算");
    case 6:
        return QStringLiteral("改札窓口処理");
    case 7:
        return QStringLiteral("新規発行");
    case 8:
        return QStringLiteral("窓口控除");
    case 13:
    case 15:
        return QStringLiteral("バス等");
    case 17:
        return QStringLiteral("再発行");
    case 19:
        return QStringLiteral("支払(新幹線利用)");
    case 20:
        return QStringLiteral("入場時オートチャージ");
    case 21:
        return QStringLiteral("出場時オートチャージ");
    case 29:
        return QStringLiteral("他ICカード精算");
    case 31:
        return QStringLiteral("バスチャージ");
    case 35:
        return QStringLiteral("バス等企画券購入");
    case 70:
        return QStringLiteral("物販");
    case 72:
        return QStringLiteral("特典チャージ");
    case 73:
        return QStringLiteral("現金チャージ");
    case 74:
        return QStringLiteral("物販取消");
    case 75:
        return QStringLiteral("入場物販");
    case 132:
        return QStringLiteral("他社精算");
    case 133:
        return QStringLiteral("他社入場精算");
    case 153:
        return QStringLiteral("現金併用精算");
    case 198:
        return QStringLiteral("現金併用物販");
    case 203:
        return QStringLiteral("入場現金併用物販");
    default:
        return QString();
    }
}

bool HasTimeOfDay(std::uint8_t terminalType)
{
    return terminalType == 199 || terminalType == 200;
}

RecordClass ClassifyRecord(std::uint8_t terminalType, std::uint8_t processType)
{
    if (IsShopPurchase(terminalType, processType))
        return RecordClass::Shop;
    if (terminalType == 5)
        return RecordClass::Bus;
    switch (processType) {
    case 13:
    case 15:
    case 31:
    case 35:
        return RecordClass::Bus;
    default:
        return RecordClass::Rail;
    }
}

ImportClass ClassifyForImport(std::uint8_t terminalType, std::uint8_t processType)
{
    switch (processType) {
    case 13:
    case 15:
    case 31:
    case 35:
        return ImportClass::Bus;
    default:
        break;
    }
    if (terminalType == 5)
        return ImportClass::Bus;
    // A point charge names no station either.
    if (IsShopPurchase(terminalType, processType) || processType == 72)
        return ImportClass::Shop;
    return ImportClass::Rail;
}
