#pragma once

#include <QString>
#include <stdexcept>

// A failed operation: the platform's description of what went wrong and a number.
class Failure : public std::runtime_error {
public:
    static constexpr int kCancelled = 32755; // the user cancelled a file dialog

    Failure(const QString& description, int number = 0)
        : std::runtime_error(description.toStdString())
        , m_description(description)
        , m_number(number)
    {
    }

    const QString& description() const { return m_description; }
    int number() const { return m_number; }
    bool cancelled() const { return m_number == kCancelled; }

private:
    QString m_description;
    int m_number;
};
