#pragma once

#include "core/dates/format_settings.h"

#include <QLineEdit>
#include <QTime>

namespace dw {

// The editor's time field. A time is typed whole, in the forms people use ("930", "9:30p",
// "9.30 pm", "21:30"); leaving the field shows it in the locale's format, so what the field
// shows is what is stored.
class TimeField : public QLineEdit {
public:
    explicit TimeField(const FormatSettings& fs, QWidget* parent = nullptr);
    void setTime(const QTime& time);
    // The time typed; an invalid QTime when the text is no time.
    QTime time() const;

private:
    const FormatSettings& fs_;
};

} // namespace dw
