// A Qt warning printed during a test fails that test unless the test expects it: TestMain
// watches Qt's messages, and an ExpectQtWarning names the ones a test means to provoke.
#pragma once

#include <QRegularExpression>
#include <QString>

namespace tallowmere::testing {

// While it lives, warnings matching `pattern` are expected and not failures; by its end at least
// one of them must have come.
class ExpectQtWarning {
public:
    explicit ExpectQtWarning(const QString& pattern);
    ~ExpectQtWarning();
    ExpectQtWarning(const ExpectQtWarning&) = delete;
    ExpectQtWarning& operator=(const ExpectQtWarning&) = delete;

    int seen() const;

private:
    QRegularExpression m_pattern;
    int m_seen = 0;

    friend bool expectedQtWarning(const QString& message);
};

// Whether a live ExpectQtWarning takes `message` (counting it there).
bool expectedQtWarning(const QString& message);

}  // namespace tallowmere::testing
