#pragma once

// A data directory of its own for panel tests: Skin.dat, Pic.dat and Score.dat written in
// their real formats into a temporary directory that the application object loads from.

#include <QTemporaryDir>
#include <QWidget>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "core/scores/ScoreFile.h"
#include "core/scores/ScoreTable.h"
#include "core/package/ImagePackage.h"

namespace test {

using NamedPicture = std::pair<std::string, std::vector<std::uint8_t>>;

class DataDir {
public:
    // The directory as the application object takes it, with its trailing slash.
    std::string Path() const { return m_dir.path().toStdString() + "/"; }
    std::string FilePath(const std::string& name) const { return Path() + name; }

    // An empty list writes no file at all: a package file always holds at least one entry.
    void WritePackage(const std::string& name, const std::vector<NamedPicture>& pictures) const {
        ImagePackage package;
        for (const auto& [entry, bytes] : pictures) package.AddEntry(entry, bytes);
        if (!pictures.empty()) package.Save(FilePath(name));
    }

    void WriteScores(const std::vector<ScoreRecord>& records) const {
        ScoreTable table;
        for (const ScoreRecord& record : records) table.Append(record);
        StoreScoreFile(FilePath("Score.dat"), table);
    }

    void WriteBytes(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
        std::ofstream out(FilePath(name), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }

    void Remove(const std::string& name) const { std::remove(FilePath(name).c_str()); }

private:
    QTemporaryDir m_dir;
};

// Stands in for the main window: records presses that reach it, which would drag the window.
class PanelHost : public QWidget {
public:
    PanelHost() { setFixedSize(620, 300); }
    int pressesReceived = 0;

protected:
    void mousePressEvent(QMouseEvent*) override { ++pressesReceived; }
};

}  // namespace test
