#include "hostlink/WendralDemon.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

TkdbCustomDemon::TkdbCustomDemon(QObject *owner)
    : QObject(owner), m_engine(std::make_unique<TZodavided2000>(QString()))
{
}

TkdbCustomDemon::~TkdbCustomDemon() = default;

TkdbDemonClient::TkdbDemonClient(QObject *owner) : TkdbCustomDemon(owner) {}

QString TkdbDemonClient::DefaultDictionaryFile()
{
    const QString executable = QCoreApplication::applicationFilePath();
    return QFileInfo(executable).dir().filePath(ZelI18n::itlFileNameFor(executable));
}

void TkdbDemonClient::loaded()
{
    TkdbCustomDemon::loaded();
    // Finding the host needs its server window, which this program cannot reach yet: a client
    // told to use the host therefore finds none.
    if (UseWendralServer())
        throw EQuillon("Quillon server application is not running");
    loadDictionary();
    if (AutoTranslate())
        Engine().TranslateComponent(parent());
}

void TkdbDemonClient::loadDictionary()
{
    QFile file(m_dictionaryFile.isEmpty() ? DefaultDictionaryFile() : m_dictionaryFile);
    if (file.open(QIODevice::ReadOnly))
        Engine().LoadDictionary(file);
}
