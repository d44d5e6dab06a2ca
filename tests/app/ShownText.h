// What a person reads of a label: the text itself where the label shows it
// as plain text, the text of the markup where it takes it for markup; as a
// screen reader reads it.
#pragma once

#include <QAccessible>
#include <QLabel>
#include <QString>

#include <ostream>

inline QString ShownText(QLabel& label)
{
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&label);
    return accessible == nullptr ? QStringLiteral("<no accessible label>")
                                 : accessible->text(QAccessible::Name);
}

// Failed checks print Qt strings as text.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
