#pragma once
// The prompt the windows talk through: it hands everything to the real one,
// and a notice that the lower layers give in English (their fixed texts)
// reaches staff inside a French sentence that says what happened and what
// to do, the English text kept as it was.

#include "core/prompt.h"

// The French sentence for text, or text itself when it is not one of the
// lower layers' English notices.
QString inFrench(const QString& text);

class FrenchPrompt : public RelayPrompt {
public:
    using RelayPrompt::RelayPrompt;

    void information(const QString& text) override { m_real.information(inFrench(text)); }
    void error(const QString& text) override { m_real.error(inFrench(text)); }
    Answer question(const QString& text, bool withCancel) override
    {
        return m_real.question(inFrench(text), withCancel);
    }
};
