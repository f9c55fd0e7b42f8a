#pragma once
// An error raised out of a procedure with its number and description, for the caller to handle
// or, when nothing does, to show to the user before the program ends.

#include <QString>

#include <stdexcept>

class ViewerError : public std::runtime_error {
public:
    ViewerError(int number, const QString& description)
        : std::runtime_error(description.toStdString()), number_(number),
          description_(description) {}

    int number() const { return number_; }
    const QString& description() const { return description_; }

private:
    int number_;
    QString description_;
};
