#pragma once

#include "CScriptedHost.h"
#include "GridlarkDlg.h"
#include "Resource.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <ostream>
#include <string>

inline const char* const kInstructions =
    "Enter grid values (from 1 - 9) or load them from a grid file.  Save, Solve or Reset (to clear all values "
    "to blank).  See Help for more instructions.";
inline const char* const kOpenError =
    "SORRY, File Error - could not open selected file, or the file is not in the correct format.";
inline const char* const kSaved = "Current Grid Saved to Selected File.  Change values and use buttons as before.";
inline const char* const kSaveError =
    "SORRY, File Error - could not save selected file. Check file is not set to R/O and try again.";

// A puzzle with one solution, row by row, 0 for a blank.
inline const char* const kPuzzle[9] = {"530070000", "600195000", "098000060", "800060003", "400803001",
                                       "700020006", "060000280", "000419005", "000080079"};

using GridText = std::array<std::array<std::string, 9>, 9>;

// What the user sees: the boxes, the two lines of text and whether Revert is offered.
struct Screen {
    GridText grid;
    std::string message, figures;
    bool revert;
    bool operator==(const Screen&) const = default;
    friend void PrintTo(const Screen& s, std::ostream* out)
    {
        for (const auto& row : s.grid)
            for (const auto& cell : row)
                *out << '[' << cell << ']';
        *out << "\n\"" << s.message << "\"\n\"" << s.figures << "\"\nrevert " << s.revert;
    }
};

// A main dialog created and shown (offscreen), with a scripted modal host and a
// scratch folder. The current folder, which Load and Save change, is put back.
class DialogFixture : public testing::Test {
protected:
    void SetUp() override
    {
        dlg = std::make_unique<CGridlarkDlg>();
        dlg->Create();
        dlg->show();
        host.watched = dlg.get();
        ASSERT_TRUE(dir.isValid());
    }

    void TearDown() override
    {
        QDir::setCurrent(startDir);
        if (!dlg->IsDestroyed())
            dlg->OnQuit();
    }

    QWidget* item(int id) { return dlg->GetDlgItem(id)->GetSafeHwnd(); }
    QLineEdit* box(int row, int col) { return static_cast<QLineEdit*>(item(CellBoxId(row, col))); }
    std::string text(int id) { return static_cast<QLabel*>(item(id))->text().toStdString(); }
    std::string message() { return text(IDC_MESSAGES); }
    std::string figures() { return text(IDC_FIGURES); }
    bool enabled(int id) { return item(id)->isEnabled(); }
    Screen screen() { return {grid(), message(), figures(), enabled(IDC_REVERT)}; }

    // Pasted or typed text, unfiltered.
    void put(int row, int col, const char* value) { box(row, col)->setText(QString::fromLatin1(value)); }

    GridText grid()
    {
        GridText g;
        for (int r = 0; r < 9; ++r)
            for (int c = 0; c < 9; ++c)
                g[r][c] = box(r, c)->text().toStdString();
        return g;
    }

    // Digits row by row, 0 for an empty box.
    void putRows(const char* const rows[9])
    {
        for (int r = 0; r < 9; ++r)
            for (int c = 0; c < 9; ++c)
                put(r, c, rows[r][c] == '0' ? "" : std::string(1, rows[r][c]).c_str());
    }

    // A solved grid with figures shown and Revert offered, and a typed entry on top.
    void solveAndType(const char* typed)
    {
        put(0, 0, "7");
        dlg->SendCommand(IDC_SOLVE);
        ASSERT_FALSE(figures().empty());
        ASSERT_TRUE(enabled(IDC_REVERT));
        put(8, 8, typed);
    }

    std::string path(const char* name) { return (dir.path() + QLatin1Char('/') + QLatin1String(name)).toStdString(); }
    std::string canonical(const QString& folder) { return QDir(folder).canonicalPath().toStdString(); }

    std::string write(const char* name, const QByteArray& content)
    {
        QFile file(QString::fromStdString(path(name)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return path(name);
    }

    // Load or Save with the file dialog confirmed on the file.
    void command(int id, const std::string& file)
    {
        host.fileAnswers.push_back({IDOK, file});
        dlg->SendCommand(id);
    }

    CScriptedHost host;
    std::unique_ptr<CGridlarkDlg> dlg;
    QTemporaryDir dir;
    const QString startDir = QDir::currentPath();
};
