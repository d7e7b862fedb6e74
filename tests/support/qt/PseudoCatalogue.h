#pragma once

// A pseudo-language used only by the tests, made from the template of every text: each
// translation is bracketed and made 40 % longer, so that a text shown without its brackets was
// not passed through the catalogue. Needs CORVALIN_MSGFMT defined as msgfmt's path.

#include <QDir>
#include <QFile>
#include <QList>
#include <QProcess>
#include <QString>

namespace test {

// A text as the pseudo-language has it: bracketed, 40 % longer, placeholders and a closing
// newline kept.
inline QString Pseudo(const QString& english) {
    const bool newline = english.endsWith('\n');
    const QString body = newline ? english.chopped(1) : english;
    const QString padded = body + QString((body.size() * 4 + 9) / 10, QChar(0x00e5));
    return '[' + padded + ']' + (newline ? "\n" : "");
}

inline QString Quoted(const QString& text) {
    QString escaped = text;
    escaped.replace('\\', "\\\\").replace('"', "\\\"").replace('\n', "\\n").replace('\t', "\\t");
    return '"' + escaped + '"';
}

inline QString Unquoted(const QString& line) {
    QString text = line.mid(line.indexOf('"') + 1).chopped(1);
    QString out;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const QChar c = text[++i];
        out += c == 'n' ? QChar('\n') : c == 't' ? QChar('\t') : c;
    }
    return out;
}

// The pseudo catalogue of every text of the template, compiled into folder.
inline bool WritePseudoCatalogue(const QString& templatePath, const QString& folder) {
    QFile pot(templatePath);
    if (!pot.open(QIODevice::ReadOnly)) return false;
    struct Entry {
        QString context, id;
    };
    QList<Entry> entries{Entry{}};
    QString* field = nullptr;
    for (const QString& line : QString::fromUtf8(pot.readAll()).split('\n')) {
        if (line.startsWith("msgctxt ") ||
            (line.startsWith("msgid ") && !entries.last().id.isEmpty()))
            entries.append(Entry{});
        if (line.startsWith("msgctxt "))
            field = &entries.last().context;
        else if (line.startsWith("msgid "))
            field = &entries.last().id;
        else if (!line.startsWith('"'))
            field = nullptr;
        if (field != nullptr) *field += Unquoted(line);
    }
    QString po = "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n";
    for (const Entry& entry : entries) {
        if (entry.id.isEmpty()) continue;  // the header
        if (!entry.context.isEmpty()) po += "\nmsgctxt " + Quoted(entry.context);
        po += "\nmsgid " + Quoted(entry.id) + "\nmsgstr " + Quoted(Pseudo(entry.id)) + '\n';
    }
    const QString source = folder + "/qaa.po";
    QFile out(source);
    if (!out.open(QIODevice::WriteOnly) || out.write(po.toUtf8()) < 0) return false;
    out.close();
    QDir().mkpath(folder + "/qaa/LC_MESSAGES");
    return QProcess::execute(CORVALIN_MSGFMT,
                             {"--check", "-o", folder + "/qaa/LC_MESSAGES/corvalin.mo", source}) ==
           0;
}

inline bool IsPseudo(const QString& text) {
    const QString shown = text.endsWith('\n') ? text.chopped(1) : text;
    return shown.startsWith('[') && shown.endsWith(']') && shown.contains(QChar(0x00e5));
}

}  // namespace test
