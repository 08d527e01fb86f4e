#include "CModalHost.h"

#include "CDialog.h"
#include "CFileDialog.h"

#include <QDir>
#include <QEventLoop>
#include <QMessageBox>
#include <QProcess>

namespace {

CModalHost* installedHost = nullptr;

QMessageBox::StandardButtons buttonsFor(UINT type)
{
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MB_YESNOCANCEL:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MB_YESNO:
        return QMessageBox::Yes | QMessageBox::No;
    default:
        return QMessageBox::Ok;
    }
}

QMessageBox::Icon iconFor(UINT type)
{
    switch (type & MB_ICONMASK) {
    case MB_ICONERROR:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONWARNING:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

int answerFor(int button)
{
    switch (button) {
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    case QMessageBox::Ok:
        return IDOK;
    default:
        return IDCANCEL;
    }
}

} // namespace

CModalHost& CModalHost::Get()
{
    static CQtModalHost qtHost;
    return installedHost ? *installedHost : qtHost;
}

CModalHost* CModalHost::Install(CModalHost* host)
{
    CModalHost* previous = installedHost;
    installedHost = host;
    return previous;
}

int CQtModalHost::MessageBox(QWidget* owner, const char* text, const char* caption, UINT type)
{
    QMessageBox box(iconFor(type), QString::fromLocal8Bit(caption ? caption : ""),
                    QString::fromLocal8Bit(text ? text : ""), buttonsFor(type), owner);
    box.setTextFormat(Qt::PlainText);
    // Windows answers a box without Cancel to Esc only when it has a single button.
    if ((type & MB_TYPEMASK) == MB_YESNO)
        box.setEscapeButton(QMessageBox::No);
    return answerFor(box.exec());
}

INT_PTR CQtModalHost::RunFileDialog(CFileDialog& dialog)
{
    return dialog.RunQtDialog();
}

INT_PTR CQtModalHost::RunDialog(CDialog& dialog)
{
    return dialog.RunModalLoop();
}

int CQtModalHost::SpawnAndWait(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setWorkingDirectory(QDir::currentPath());
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.setInputChannelMode(QProcess::ForwardedInputChannel);
    // The wait runs an event loop, so the program stays responsive without polling.
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    process.start();
    if (!process.waitForStarted(-1))
        return -1;
    if (process.state() != QProcess::NotRunning)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (process.exitStatus() != QProcess::NormalExit)
        return -1;
    return process.exitCode();
}
