#pragma once

#include <QLineEdit>
#include <functional>

// An edit that accepts only some typed characters; pasted text is not
// filtered. Backspace and the editing keys always work.
class CEditEx : public QLineEdit
{
public:
    enum class Mode {
        Any = 0,
        PrintableAscii = 1, // 0x20-0x7F
        FileName = 2,       // all but " * / : < > ? |
        Digits = 3,         // 0-9
        SignedDigits = 4,   // 0-9, and "-" while the selection starts at 0
    };

    explicit CEditEx(Mode mode, QWidget* parent = nullptr);

    Mode GetMode() const { return m_mode; }
    // Told of every typed text the mode does not let through, so the user
    // can be shown why nothing appeared.
    void SetRefusedHandler(std::function<void(const QString&)> handler)
    {
        m_refused = std::move(handler);
    }
    // Whether a typed character is let through at this selection start.
    static bool Accepts(Mode mode, QChar c, int selectionStart);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    Mode m_mode;
    std::function<void(const QString&)> m_refused;
};
