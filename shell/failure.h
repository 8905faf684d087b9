#pragma once

#include <QString>

#include <stdexcept>

// A failed step. Its description is what the error report box shows, so it
// names what went wrong in words a user can act on.
class Failure : public std::runtime_error {
public:
    explicit Failure(const QString& description)
        : std::runtime_error(description.toStdString()), mDescription(description)
    {
    }

    const QString& description() const { return mDescription; }

private:
    QString mDescription;
};
