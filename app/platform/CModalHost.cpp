#include "CModalHost.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>

#include <algorithm>
#include <cstring>

namespace {

CModalHost* installedHost = nullptr;

// QFileDialog with the checks that the Windows dialog makes before it closes.
class CQtFileDialog : public QFileDialog {
public:
    CQtFileDialog(QWidget* parent, DWORD flags) : QFileDialog(parent), m_flags(flags) {}

protected:
    void accept() override
    {
        if (acceptMode() == AcceptSave && !selectedFiles().isEmpty() && !AcceptSaveChoice())
            return;
        QFileDialog::accept();
    }

private:
    bool AcceptSaveChoice()
    {
        const QFileInfo file(selectedFiles().constFirst());
        if (file.isDir())
            return true;
        const QString name = QDir::toNativeSeparators(file.absoluteFilePath());
        if (file.exists()) {
            // Read-only as Windows means it: no write permission for anyone, which
            // holds even for root, or none for this user.
            const auto writeBits = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
            const bool readOnly = !(file.permissions() & writeBits) || !file.isWritable();
            if ((m_flags & OFN_NOREADONLYRETURN) && readOnly) {
                QMessageBox::warning(this, windowTitle(),
                                     tr("%1\nThis file is set to read-only.\nTry again with a different file name.")
                                         .arg(name));
                return false;
            }
            return true;
        }
        if ((m_flags & OFN_NOREADONLYRETURN) && !QFileInfo(file.absolutePath()).isWritable()) {
            QMessageBox::warning(this, windowTitle(),
                                 tr("%1\nThis folder is write-protected.\nChoose another folder.").arg(name));
            return false;
        }
        if (m_flags & OFN_CREATEPROMPT) {
            const auto answer =
                QMessageBox::question(this, windowTitle(),
                                      tr("%1\nThis file does not exist.\nDo you want to create it?").arg(name));
            return answer == QMessageBox::Yes;
        }
        return true;
    }

    DWORD m_flags;
};

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

// Gives the activation and the focus back, when it goes out of scope, to the window
// that had them when it was made, or else to owner's window.
class FocusKeeper {
public:
    explicit FocusKeeper(QWidget* owner = nullptr)
        : m_window(QApplication::activeWindow() ? QApplication::activeWindow() : owner ? owner->window() : nullptr)
        , m_focus(m_window ? m_window->focusWidget() : nullptr)
    {
    }
    FocusKeeper(const FocusKeeper&) = delete;
    FocusKeeper& operator=(const FocusKeeper&) = delete;

    ~FocusKeeper()
    {
        // A window hidden meanwhile (Help, Notepad) is activated when it is shown.
        if (!m_window || !m_window->isVisible())
            return;
        m_window->activateWindow();
        if (m_focus && m_focus->window() == m_window && m_focus->isVisible() && m_focus->isEnabled())
            m_focus->setFocus(Qt::ActiveWindowFocusReason);
    }

private:
    QPointer<QWidget> m_window;
    QPointer<QWidget> m_focus;
};

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

int CModalHost::MessageBox(QWidget* owner, const char* text, const char* caption, UINT type)
{
    const FocusKeeper keeper(owner);
    return DoMessageBox(owner, text, caption, type);
}

INT_PTR CModalHost::RunFileDialog(bool open, OPENFILENAME& ofn)
{
    const FocusKeeper keeper(ofn.hwndOwner);
    return DoFileDialog(open, ofn);
}

INT_PTR CModalHost::RunDialog(CModalWindow& dialog)
{
    const FocusKeeper keeper;
    return DoDialog(dialog);
}

int CModalHost::SpawnAndWait(const QString& program, const QStringList& arguments)
{
    const FocusKeeper keeper;
    return DoSpawnAndWait(program, arguments);
}

INT_PTR CModalHost::RunPrintDialog(QWidget* owner, const std::function<void(QPrinter&)>& paint)
{
    const FocusKeeper keeper(owner);
    return DoPrintDialog(owner, paint);
}

std::unique_ptr<CBackgroundJob> CModalHost::StartJob(QObject* context, BackgroundWork work)
{
    auto job = std::make_unique<CBackgroundJob>();
    DoStartJob(*job, context, std::move(work));
    return job;
}

int CQtModalHost::DoMessageBox(QWidget* owner, const char* text, const char* caption, UINT type)
{
    QMessageBox box(iconFor(type), QString::fromLocal8Bit(caption ? caption : ""),
                    QString::fromLocal8Bit(text ? text : ""), buttonsFor(type), owner);
    box.setTextFormat(Qt::PlainText);
    // Windows ignores Esc in a Yes/No box, which has no Cancel; here Esc and the
    // close box, which every Linux window has, answer No, so that a closed box
    // still gives an answer and leaves the help pages.
    if ((type & MB_TYPEMASK) == MB_YESNO)
        box.setEscapeButton(QMessageBox::No);
    return answerFor(box.exec());
}

INT_PTR CQtModalHost::DoFileDialog(bool open, OPENFILENAME& ofn)
{
    // Without an owner the dialog is modal over the application's active window, as
    // Windows makes it modal over the main window.
    CQtFileDialog dialog(ofn.hwndOwner ? ofn.hwndOwner : QApplication::activeWindow(), ofn.Flags);
    // Qt's own dialog behaves the same on every desktop and lets accept() check.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setWindowTitle(QString::fromLocal8Bit(ofn.lpstrTitle ? ofn.lpstrTitle : ""));
    dialog.setNameFilters(ParseFilterString(ofn.lpstrFilter));
    if (ofn.lpstrInitialDir && *ofn.lpstrInitialDir)
        dialog.setDirectory(QString::fromLocal8Bit(ofn.lpstrInitialDir));
    if (open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode((ofn.Flags & OFN_FILEMUSTEXIST) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !(ofn.Flags & OFN_OVERWRITEPROMPT));
        if (ofn.lpstrDefExt)
            dialog.setDefaultSuffix(QString::fromLocal8Bit(ofn.lpstrDefExt));
    }
    if (ofn.lpstrFile && *ofn.lpstrFile)
        dialog.selectFile(QString::fromLocal8Bit(ofn.lpstrFile));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return IDCANCEL;
    StorePathName(ofn, QDir::toNativeSeparators(dialog.selectedFiles().constFirst()).toLocal8Bit().toStdString());
    return IDOK;
}

INT_PTR CQtModalHost::DoDialog(CModalWindow& dialog)
{
    return dialog.RunModalLoop();
}

int CQtModalHost::DoSpawnAndWait(const QString& program, const QStringList& arguments)
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

void CQtModalHost::DoStartJob(CBackgroundJob& job, QObject* context, BackgroundWork work)
{
    job.StartThread(context, std::move(work));
}

INT_PTR CQtModalHost::DoPrintDialog(QWidget* owner, const std::function<void(QPrinter&)>& paint)
{
    QPrinter printer(QPrinter::HighResolution);
    // The preview first; its print button leads on to the print dialog.
    QPrintPreviewDialog preview(&printer, owner);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&paint](QPrinter* target) {
        paint(*target);
    });
    return preview.exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

QStringList ParseFilterString(const char* filter)
{
    QStringList filters;
    if (!filter)
        return filters;
    const QStringList parts = QString::fromLocal8Bit(filter).split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& label = parts[i];
        if (label.isEmpty())
            break;
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& pattern : patterns) {
            pattern = pattern.trimmed();
            if (pattern == QLatin1String("*.*"))
                pattern = QStringLiteral("*");
        }
        filters << QStringLiteral("%1 (%2)").arg(label, patterns.join(QLatin1Char(' ')));
    }
    return filters;
}

void StorePathName(OPENFILENAME& ofn, const std::string& path)
{
    if (!ofn.lpstrFile || ofn.nMaxFile == 0)
        return;
    const std::size_t count = std::min<std::size_t>(path.size(), ofn.nMaxFile - 1);
    std::memcpy(ofn.lpstrFile, path.data(), count);
    ofn.lpstrFile[count] = '\0';
}
