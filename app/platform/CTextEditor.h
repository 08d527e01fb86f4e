#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The system text editor: "notepad.exe" when one is on the executable search path,
// else the first installed of the usual Linux desktop editors, each with the
// option that keeps it in the foreground until its window closes.
class CTextEditor {
public:
    struct Command {
        QString program;
        QStringList arguments;
    };

    // The editors tried after notepad.exe, in order: the default editors of the
    // GNOME, KDE, Xfce, Cinnamon, MATE and LXQt desktops, newest GNOME first, and
    // on KDE the plain KWrite before the larger Kate.
    static const QStringList& FallbackNames();

    // The command that starts the editor, or nothing when none is installed.
    static std::optional<Command> Find();
};
