#include "CTextEditor.h"

#include <QStandardPaths>

namespace {

// Options that make the editor run its own process and wait for its window, where
// it would otherwise hand the work to a running instance and return at once.
QStringList foregroundOptions(const QString& name)
{
    if (name == QLatin1String("gnome-text-editor") || name == QLatin1String("gedit"))
        return {QStringLiteral("--standalone")};
    if (name == QLatin1String("kate"))
        return {QStringLiteral("--block")};
    if (name == QLatin1String("mousepad"))
        return {QStringLiteral("--disable-server")};
    return {};
}

} // namespace

const QStringList& CTextEditor::FallbackNames()
{
    static const QStringList names = {
        QStringLiteral("gnome-text-editor"), QStringLiteral("gedit"), QStringLiteral("kwrite"),
        QStringLiteral("kate"),  QStringLiteral("mousepad"), QStringLiteral("xed"),
        QStringLiteral("pluma"), QStringLiteral("featherpad"),
    };
    return names;
}

std::optional<CTextEditor::Command> CTextEditor::Find()
{
    const QString notepad = QStandardPaths::findExecutable(QStringLiteral("notepad.exe"));
    if (!notepad.isEmpty())
        return Command{notepad, {}};
    for (const QString& name : FallbackNames()) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty())
            return Command{path, foregroundOptions(name)};
    }
    return std::nullopt;
}
