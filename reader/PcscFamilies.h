#pragma once

#include "PcscApi.h"

#include <QByteArray>
#include <QString>

// The contactless PC/SC readers the name table does not list but whose
// makers' FeliCa commands the program speaks: ACS ACR122U (a PN532 behind the
// reader), other ACS readers (FeliCa frames sent directly) and Identiv/SCM
// readers (FF 40 / FF 46). A reader is told by its name; with a card on it,
// also by the card's ATR; and a FeliCa card on a reader of no known name is
// tried with each family's polling in turn.
class PcscFamilies
{
public:
    // The family's model (KnownReaders) by the reader's name, or 0.
    static int ByName(const QString& readerName);
    // The family the ATR names (ACS's own FeliCa card names), or 0.
    static int ByAtr(const QByteArray& atr);
    // Whether the ATR is the PC/SC storage-card ATR of a FeliCa card.
    static bool IsFelicaAtr(const QByteArray& atr);
    // Whether the reader's name says it reads contactless cards.
    static bool LooksContactless(const QString& readerName);
    // The family that reads this reader, or 0 when none does.
    static int Find(PcscApi& pcsc, SCARDCONTEXT context, const QString& readerName);
};
