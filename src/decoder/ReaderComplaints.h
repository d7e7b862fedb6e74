#pragma once

#include <QLoggingCategory>
#include <QtGlobal>

// While it lives, every warning Qt's image readers log (about data that ends early or is
// corrupt, which they otherwise decode into a complete-looking image) is counted here instead of
// going to the log: for the formats Qt decodes, that is all the reader says about completeness.
// Readers log through the "qt.gui.imageio" categories; their warnings are switched on meanwhile
// whatever the logging rules say. One at a time, on one thread.
class ReaderComplaints {
public:
    ReaderComplaints();
    ReaderComplaints(const ReaderComplaints&) = delete;
    ReaderComplaints& operator=(const ReaderComplaints&) = delete;
    virtual ~ReaderComplaints();

    bool Any() const { return m_count > 0; }

private:
    static void Filter(QLoggingCategory* category);
    static void Handle(QtMsgType type, const QMessageLogContext& context, const QString& text);

    static inline ReaderComplaints* s_active = nullptr;
    static inline QLoggingCategory::CategoryFilter s_previousFilter = nullptr;
    QtMessageHandler m_previousHandler = nullptr;
    int m_count = 0;
};
