#pragma once

// Fixtures for the picture library tests: a data directory of its own with a Pic.dat of solid
// pictures, image files to import, Score.dat records, and answers to modal dialogs.

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <deque>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "core/io/FileIO.h"
#include "core/scores/ScoreFile.h"
#include "core/package/ImagePackage.h"

namespace test {

inline std::vector<std::uint8_t> Encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return {bytes.begin(), bytes.end()};
}

inline QImage SolidImage(int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// The colour of the i-th picture of a test library; BMP keeps it exact.
inline QRgb PictureColour(int i) { return qRgb(40 * i + 20, 200 - 30 * i, 90); }

inline ScoreRecord Record(std::uint32_t grid, const std::string& picture, const std::string& user) {
    return ScoreRecord{grid, picture, user, 10 + grid, 20 + grid, "2024.03.05"};
}

// A temporary data directory: Pic.dat, Score.dat and image files to import.
class LibraryData {
public:
    std::string Path() const { return m_dir.path().toStdString() + "/"; }
    std::string File(const std::string& name) const { return Path() + name; }

    // Pic.dat with one solid BMP per name, picture i in PictureColour(i).
    void WritePictures(const std::vector<std::string>& names) const {
        ImagePackage package;
        for (std::size_t i = 0; i < names.size(); ++i)
            package.AddEntry(
                names[i], Encoded(SolidImage(400, 300, PictureColour(static_cast<int>(i))), "BMP"));
        package.Save(File("Pic.dat"));
    }

    void WriteScores(const std::vector<ScoreRecord>& records) const {
        ScoreTable table;
        for (const ScoreRecord& record : records) table.Append(record);
        StoreScoreFile(File("Score.dat"), table);
    }

    std::vector<ScoreRecord> Scores() const {
        ScoreTable table;
        LoadScoreFile(File("Score.dat"), table);
        std::vector<ScoreRecord> records;
        for (std::size_t i = 0; i < table.GetCount(); ++i) records.push_back(table.GetAt(i));
        return records;
    }

    std::vector<std::string> PackageNames() const {
        ImagePackage package;
        package.Load(File("Pic.dat"));
        std::vector<std::string> names;
        package.GetNames(names);
        return names;
    }

    std::vector<std::uint8_t> Bytes(const std::string& name) const {
        return ReadWholeFile(File(name)).value_or(std::vector<std::uint8_t>{});
    }

    // An image file to import, in the given format ("BMP", "JPG", "PNG").
    std::string WriteImage(const std::string& name, const QImage& image, const char* format) const {
        WriteBytes(name, Encoded(image, format));
        return File(name);
    }

    std::string WriteBytes(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
        std::ofstream out(File(name), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        return File(name);
    }

private:
    QTemporaryDir m_dir;
};

// Answers the modal dialogs that an action opens, one step per dialog, in order: a timer polls
// every 10 ms for a new active modal widget and hands it to the next step. A modal widget that
// comes when no step is left is closed and counted, so a test fails instead of hanging.
class ModalSteps {
public:
    using Step = std::function<void(QWidget& modal)>;

    explicit ModalSteps(std::deque<Step> steps) : m_steps(std::move(steps)) {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
        m_timer.start(10);
    }

    // Modal widgets handed to a step or closed for want of one.
    int Answered() const { return m_answered; }
    // What the unexpected ones said, for the failure message.
    const QStringList& Unexpected() const { return m_unexpected; }

private:
    void Poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal == m_last) return;
        m_last = modal;
        ++m_answered;
        if (m_steps.empty()) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            m_unexpected << QString::fromLatin1(modal->metaObject()->className()) + ": " +
                                (box != nullptr ? box->text() : modal->windowTitle());
            modal->close();
            return;
        }
        Step step = std::move(m_steps.front());
        m_steps.pop_front();
        step(*modal);
    }

    std::deque<Step> m_steps;
    QPointer<QWidget> m_last;
    QTimer m_timer;
    int m_answered = 0;
    QStringList m_unexpected;
};

// Names under dir, "." and ".." left out.
inline QStringList EntriesOf(const QString& dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                               QDir::NoDotAndDotDot);
}

}  // namespace test
