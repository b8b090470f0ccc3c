#pragma once

#include <QTranslator>

// Japanese for the texts of Qt's own dialogs that Qt's Japanese translation
// lacks (the print dialog's "Pages", its duplex options and conflict
// messages, the file dialog's "Folder"), whatever context Qt asks them in.
// Installed after Qt's translation, it answers only these and leaves the
// rest to it.
class QtTextSupplement : public QTranslator
{
public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* sourceText,
                      const char* disambiguation = nullptr, int n = -1) const override;
    bool isEmpty() const override { return false; }
};
