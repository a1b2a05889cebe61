// SPDX-License-Identifier: GPL-3.0-or-later
// The walk over a component tree: every published text property, string list and axis record
// of each object, then the components it owns, depth first.
//
// Published properties are the Q_PROPERTYs in QMetaObject order (base class first); the
// component name (objectName) is never translated. Text panes (QTextEdit, QPlainTextEdit)
// publish their content as a list of lines, the blocks of their document, in place of the
// html, markdown and plainText renderings of the same content.

#include "chart/rchart_paintprops.h"
#include "chart/rchart_scaleprops.h"
#include "i18n/Zodavided2000.h"
#include "platform/Fonts.h"
#include "scales/Zel_ScaleDateTime.h"
#include "scales/zelbase_overlays.h"

#include <QHash>
#include <QMetaProperty>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSet>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace {

QTextDocument *paneDocument(QObject *object)
{
    if (auto *edit = qobject_cast<QTextEdit *>(object))
        return edit->document();
    if (auto *edit = qobject_cast<QPlainTextEdit *>(object))
        return edit->document();
    return nullptr;
}

bool isContentRendering(const char *name)
{
    return qstrcmp(name, "html") == 0 || qstrcmp(name, "markdown") == 0 ||
           qstrcmp(name, "plainText") == 0;
}

bool isNameProperty(const char *name)
{
    return qstrcmp(name, "objectName") == 0 || qstrcmp(name, "Name") == 0;
}

// The object a pointer-to-QObject property refers to, or null.
QObject *referencedObject(const QMetaProperty &property, const QObject *object)
{
    if (!(property.metaType().flags() & QMetaType::PointerToQObject) || !property.isReadable())
        return nullptr;
    const QVariant value = property.read(object);
    if (!value.isValid() || value.metaType() != property.metaType())
        return nullptr;
    return *static_cast<QObject *const *>(value.constData());
}

// The library's persistent sub-objects: owned by a component but never components of their
// own; only the walk through their owner's properties reaches them.
bool isPersistentSubObject(const QObject *object)
{
    return qobject_cast<const TScaleProps *>(object) || qobject_cast<const TFont *>(object) ||
           qobject_cast<const TDTLabel *>(object) || qobject_cast<const TCrossHair *>(object) ||
           qobject_cast<const TCustomTextLabel *>(object) ||
           qobject_cast<const TJointLayers *>(object) || qobject_cast<const TBakGndImg *>(object);
}

// Text for a document line: a line break inside a text starts a new block.
QString asDocumentText(const QString &text)
{
    QString out = text;
    out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return out;
}

} // namespace

void TZodavided2000::TranslateComponent(QObject *component)
{
    if (!component)
        return;
    TranslateObject(component);

    // Objects that properties publish (sub-objects such as fonts and axis records, collection
    // items) are not owned components. An owned widget is one even when a property refers to
    // it, as a control's own popup menu is.
    QSet<const QObject *> published;
    const QMetaObject *meta = component->metaObject();
    for (int i = 0; i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        if (const QObject *target = referencedObject(property, component)) {
            if (!target->isWidgetType())
                published.insert(target);
        } else if (property.isReadable() &&
                   property.metaType() == QMetaType::fromType<QObjectList>()) {
            for (const QObject *item : property.read(component).value<QObjectList>())
                published.insert(item);
        }
    }
    // Translating may create or delete children; walk a guarded snapshot.
    QList<QPointer<QObject>> owned;
    for (QObject *child : component->children())
        owned.append(child);
    for (const QPointer<QObject> &child : owned) {
        if (child && !published.contains(child.data()) && !isPersistentSubObject(child))
            TranslateComponent(child.data());
    }
}

void TZodavided2000::TranslateObject(QObject *object)
{
    if (!object)
        return;
    bool translate = true;
    if (OnTranslateObject)
        OnTranslateObject(this, object, translate);
    if (translate)
        translateProperties(object);
}

void TZodavided2000::translateProperties(QObject *object)
{
    const QPointer<QObject> guard(object);
    const QMetaObject *meta = object->metaObject();
    QTextDocument *pane = paneDocument(object);
    bool paneDone = false;

    // The keys as they stand before the walk. Two properties may show one text (a label's
    // text and Caption); once one of them is written, the other holds the translation and is
    // not taken for a key again.
    QHash<int, QString> keys;
    for (int i = 0; i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        if (property.metaType().id() != QMetaType::QString || !property.isReadable() ||
            !property.isWritable() || isNameProperty(property.name()) ||
            (pane && isContentRendering(property.name())))
            continue;
        const QString value = property.read(object).toString();
        if (value.startsWith(m_keyPrefix))
            keys.insert(i, value);
    }

    for (int i = 0; i < meta->propertyCount() && guard; ++i) {
        const QMetaProperty property = meta->property(i);
        const char *name = property.name();
        if (pane && isContentRendering(name)) {
            if (!paneDone)
                translateDocumentLines(pane);
            paneDone = true;
            continue;
        }
        if (!property.isReadable())
            continue;
        const int type = property.metaType().id();

        if (type == QMetaType::QString) {
            if (isNameProperty(name) || !property.isWritable())
                continue;
            const QString value = property.read(object).toString();
            if (keys.contains(i) && keys.value(i) == value)
                property.write(object, TranslateString(value.mid(m_keyPrefix.size())));
        } else if (type == QMetaType::QStringList) {
            if (!property.isWritable())
                continue;
            QStringList lines = property.read(object).toStringList();
            if (translateLines(lines))
                property.write(object, lines);
        } else if (property.metaType() == QMetaType::fromType<QObjectList>()) {
            // A collection: every item, first to last.
            const QObjectList items = property.read(object).value<QObjectList>();
            QList<QPointer<QObject>> guarded(items.begin(), items.end());
            for (const QPointer<QObject> &item : guarded) {
                if (item)
                    TranslateObject(item.data());
            }
        } else if (QObject *target = referencedObject(property, object)) {
            if (qobject_cast<TScaleProps *>(target))
                TranslateObject(target);
            else if (auto *document = qobject_cast<QTextDocument *>(target)) {
                // A pane publishes its document here and as its renderings: lines once.
                if (document != pane || !paneDone)
                    translateDocumentLines(document);
                paneDone = paneDone || document == pane;
            }
            // Fonts, images and other sub-objects carry no keys.
        }
    }
}

bool TZodavided2000::translateLines(QStringList &lines)
{
    bool changed = false;
    for (qsizetype i = lines.size() - 1; i >= 0; --i) {
        if (lines[i].startsWith(m_keyPrefix)) {
            lines[i] = TranslateString(lines[i].mid(m_keyPrefix.size()));
            changed = true;
        }
    }
    return changed;
}

void TZodavided2000::translateDocumentLines(QTextDocument *document)
{
    // Last line first, so that a translation holding a line break does not move the lines
    // still to come.
    QTextBlock block = document->lastBlock();
    while (block.isValid()) {
        const QTextBlock before = block.previous();
        const QString line = block.text();
        if (!line.startsWith(m_keyPrefix)) {
            block = before;
            continue;
        }
        const QString text = TranslateString(line.mid(m_keyPrefix.size()));
        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        cursor.insertText(asDocumentText(text));
        block = before;
    }
}
