#pragma once

#include <QString>
#include <stdexcept>

// A failed operation and the description of what went wrong, to be shown as it is.
class Failure : public std::runtime_error {
public:
    explicit Failure(const QString& description)
        : std::runtime_error(description.toStdString())
        , m_description(description)
    {
    }

    const QString& description() const { return m_description; }

private:
    QString m_description;
};
