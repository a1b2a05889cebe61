// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's state and single lookups: loading the dictionary, key lookup with parameters
// and the recording of keys that have no entry.

#include "i18n/Zodavided2000.h"

TZodavided2000::TZodavided2000(const QString &appName) : m_applicationName(appName) {}

void TZodavided2000::SetKeyPrefix(const QString &prefix)
{
    if (!prefix.isEmpty())
        m_keyPrefix = prefix;
}

void TZodavided2000::LoadDictionary(QIODevice &stream)
{
    m_dictionary.load(stream, m_applicationName);
}

void TZodavided2000::TranslateString(const QString &key, const QStringList &params, QString &text)
{
    const qsizetype i = m_dictionary.indexOf(ZelI18n::lowerAZ(key));
    if (i >= 0) {
        text = ZelI18n::substituteParams(m_dictionary.values[i], params);
        if (OnStringTranslated)
            OnStringTranslated(this, key, text);
        return;
    }
    text = ZelI18n::substituteParams(key, params);
    if (m_autoCreateItlFile) {
        const QString line = ZelI18n::itlLine(key, key);
        if (!m_missingEntries.contains(line))
            m_missingEntries.append(line);
    }
}

QString TZodavided2000::TranslateString(const QString &key, const QStringList &params)
{
    QString text;
    TranslateString(key, params, text);
    return text;
}
