#pragma once

#include <QValidator>

// Accepts up to maxLength ASCII digits and nothing else: slip numbers and
// the parts of a postal code. A regular expression would do the
// same, at the price of compiling one when the first window is built.
class DigitValidator : public QValidator {
    Q_OBJECT
public:
    explicit DigitValidator(int maxLength, QObject *parent = nullptr);

    State validate(QString &input, int &pos) const override;

private:
    int maxLength_;
};
