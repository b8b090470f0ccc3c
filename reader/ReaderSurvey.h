#pragma once

#include <QString>
#include <vector>

struct ReaderEnvironment;

// Every PC/SC reader and every USB reader the program knows that is
// attached, and for each how a read would use it or why it would not; and
// which one a read would take. The first thing to look at when a read fails:
// the command line and the desktop program show the same.
class ReaderSurvey
{
public:
    struct Entry {
        QString name;
        QString detail; // where it is, and what lies on it
        QString how;    // how it would be read; empty when it would not be
        QString whyNot; // why it would not be read
        QString note;   // anything else the user should know
    };
    struct Section {
        QString title; // "PC/SC", "USB", the vendor library
        QString state; // the service's or bus's own state
        std::vector<Entry> entries;
    };

    static ReaderSurvey Take(ReaderEnvironment& environment);

    const std::vector<Section>& Sections() const { return m_sections; }
    // The reader a read would use, or empty.
    QString Chosen() const { return m_chosen; }
    // What to do when no reader would be used.
    QString Advice() const { return m_advice; }
    // All of it as plain text, for a terminal or a dialog.
    QString Text() const;

private:
    void SurveyPcsc(ReaderEnvironment& environment);
    void SurveyUsb(ReaderEnvironment& environment);
    void SurveyVendorLibrary(ReaderEnvironment& environment);
    void Choose(ReaderEnvironment& environment);

    std::vector<Section> m_sections;
    QString m_chosen;
    QString m_advice;
    bool m_pcscStopped = false;
    bool m_usbLocked = false;
};
