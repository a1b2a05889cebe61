// SPDX-License-Identifier: GPL-3.0-or-later
// man-page: writes a program's manual page from a template and the program's own --help, so the
// page shows the usage and every option as the program explains them and the two cannot drift
// apart:
//   man-page TEMPLATE OUTPUT PROGRAM [ARGUMENTS...]
// runs PROGRAM ARGUMENTS (for example --help), reads the help text from its standard output and
// copies TEMPLATE to OUTPUT with three lines replaced: `.\" from --help: synopsis` by the usage,
// `.\" from --help: options` by one tagged paragraph per option and argument, and
// `.\" from --help: notes` by the paragraphs that follow the options.
//
// The help text is read as the programs write it: the usage first ("Usage: NAME ..." and its
// indented continuation lines); headings of one word ending in a colon ("Options:"); entries
// indented by two spaces, whose descriptions start in a column shared by the entries of a
// list, where their continuation lines start too.

#include <QFile>
#include <QProcess>
#include <QSaveFile>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <string_view>

namespace {

struct Entry
{
    QString term, description;
};

struct Help
{
    QString usage;        // without "Usage: "
    QList<Entry> entries; // options and arguments, in order
    QStringList notes;    // paragraphs after the first list
};

int indentOf(const QString &line)
{
    int n = 0;
    while (n < line.size() && line[n] == QLatin1Char(' '))
        ++n;
    return n;
}

// The column where the descriptions of a list start: where its continuation lines start, or,
// in a list without any, the first column at which every entry has a space before a word.
int descriptionColumn(const QStringList &lines)
{
    for (const QString &line : lines)
        if (indentOf(line) > 2)
            return indentOf(line);
    qsizetype longest = 0;
    for (const QString &line : lines)
        longest = std::max(longest, line.size());
    for (int column = 3; column < longest; ++column) {
        const bool shared = std::all_of(lines.begin(), lines.end(), [column](const QString &l) {
            return column < l.size() && l[column - 1] == QLatin1Char(' ') &&
                   l[column] != QLatin1Char(' ');
        });
        if (shared)
            return column;
    }
    return -1;
}

bool readList(const QStringList &lines, QList<Entry> &entries, QString &error)
{
    const int column = descriptionColumn(lines);
    if (column < 0) {
        error = QStringLiteral("no description column in the list from \"%1\"").arg(lines[0]);
        return false;
    }
    for (const QString &line : lines) {
        if (line.left(column).trimmed().isEmpty()) { // a continuation line
            if (entries.isEmpty()) {
                error = QStringLiteral("a list begins with a continuation: \"%1\"").arg(line);
                return false;
            }
            entries.last().description += QLatin1Char(' ') + line.mid(column).trimmed();
        } else if (line.size() > column && line[column - 1] != QLatin1Char(' ')) {
            error = QStringLiteral("an option runs into its description: \"%1\"").arg(line);
            return false;
        } else {
            entries.append({line.left(column).trimmed(), line.mid(column).trimmed()});
        }
    }
    return true;
}

// A heading is one word ending in a colon at the line's start ("Options:"); the page has its own.
bool isHeading(const QString &line)
{
    return indentOf(line) == 0 && line.trimmed().endsWith(QLatin1Char(':')) &&
           !line.trimmed().contains(QLatin1Char(' '));
}

QString joined(const QStringList &lines)
{
    QStringList words;
    for (const QString &line : lines)
        words << line.simplified();
    return words.join(QLatin1Char(' '));
}

bool readHelp(const QString &text, Help &help, QString &error)
{
    QList<QStringList> blocks{QStringList()};
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        if (line.trimmed().isEmpty()) {
            if (!blocks.last().isEmpty())
                blocks.append(QStringList());
        } else if (!isHeading(line)) {
            blocks.last().append(line);
        }
    }
    const QLatin1String usage("Usage: ");
    for (const QStringList &block : blocks) {
        if (block.isEmpty())
            continue;
        if (block[0].startsWith(usage) && help.usage.isEmpty()) {
            // The usage line and its continuations; a description may follow unindented.
            qsizetype end = 1;
            while (end < block.size() && indentOf(block[end]) > 0)
                ++end;
            help.usage = joined(block.mid(0, end)).mid(usage.size());
        } else if (indentOf(block[0]) == 2) {
            if (!readList(block, help.entries, error))
                return false;
        } else if (!help.entries.isEmpty()) {
            help.notes << joined(block);
        }
    }
    if (help.usage.isEmpty())
        error = QStringLiteral("the help text has no line \"Usage: ...\"");
    else if (help.entries.isEmpty())
        error = QStringLiteral("the help text lists no options");
    return error.isEmpty();
}

// Text for a roff text line: backslashes and non-ASCII characters escaped, every hyphen of a
// word that begins with one (an option such as --tour-step) written as a minus, so that it can
// be copied from the page, and a leading dot or quote kept from being read as a request.
QString roffText(const QString &text)
{
    QString out;
    char32_t previous = U' ';
    bool optionWord = false;
    for (const char32_t c : text.toUcs4()) {
        if (std::u32string_view(U" (\"'/[=,").find(previous) != std::u32string_view::npos)
            optionWord = c == U'-';
        else if (c == U' ')
            optionWord = false;
        if (c == U'\\')
            out += QLatin1String("\\e");
        else if (c == U'-' && optionWord)
            out += QLatin1String("\\-");
        else if (c > 127)
            out += QStringLiteral("\\[u%1]").arg(
                QString::number(quint32(c), 16).toUpper().rightJustified(4, QLatin1Char('0')));
        else
            out += QChar(c);
        previous = c;
    }
    if (out.startsWith(QLatin1Char('.')) || out.startsWith(QLatin1Char('\'')))
        out.prepend(QLatin1String("\\&"));
    return out;
}

// A usage or an entry's term ("ionograph [options] [parameters...]", "-h, --help", "--mass <M>",
// "--start PROGRAM ..."): the program and the options in bold, the placeholders in italics,
// brackets, commas and ellipses plain.
QString roffSyntax(const QString &syntax, bool programFirst)
{
    QStringList tokens;
    QString word;
    const auto endWord = [&] {
        if (!word.isEmpty())
            tokens << word;
        word.clear();
    };
    for (qsizetype i = 0; i < syntax.size(); ++i) {
        const QChar c = syntax[i];
        if (c == QLatin1Char(' ')) {
            endWord();
        } else if (syntax.mid(i, 3) == QLatin1String("...")) {
            endWord();
            tokens << QStringLiteral("...");
            i += 2;
        } else if (QStringLiteral("[],|").contains(c)) {
            endWord();
            tokens << QString(c);
        } else {
            word += c;
        }
    }
    endWord();

    QString out;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        QString t = tokens[i];
        const bool punctuation =
            t == QLatin1String("...") || (t.size() == 1 && QStringLiteral("[],|").contains(t));
        if (i > 0 && tokens[i - 1] != QLatin1String("[") && t != QLatin1String("]") &&
            t != QLatin1String(",") && t != QLatin1String("..."))
            out += QLatin1Char(' ');
        if (punctuation) {
            out += t;
            continue;
        }
        if (t.startsWith(QLatin1Char('<')) && t.endsWith(QLatin1Char('>')))
            t = t.mid(1, t.size() - 2);
        if (programFirst && i == 0) // a name to type, hyphens and all
            out += QLatin1String("\\fB") + QString(t).replace(u'-', QLatin1String("\\-")) +
                   QLatin1String("\\fR");
        else if (t.startsWith(QLatin1Char('-')))
            out += QLatin1String("\\fB") + roffText(t) + QLatin1String("\\fR");
        else
            out += QLatin1String("\\fI") + roffText(t) + QLatin1String("\\fR");
    }
    return out;
}

QString roffOf(const Help &help, const QString &part)
{
    QString out;
    if (part == QLatin1String("synopsis"))
        out = QStringLiteral(".na\n%1\n.ad\n").arg(roffSyntax(help.usage, true)); // unjustified
    if (part == QLatin1String("options"))
        for (const Entry &e : help.entries)
            out += QStringLiteral(".TP\n%1\n%2\n")
                       .arg(roffSyntax(e.term, false), roffText(e.description));
    if (part == QLatin1String("notes"))
        for (const QString &note : help.notes)
            out += QStringLiteral(".PP\n%1\n").arg(roffText(note));
    return out;
}

int fail(const QString &text)
{
    std::fprintf(stderr, "man-page: %s\n", qPrintable(text));
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 4)
        return fail(QStringLiteral("usage: man-page TEMPLATE OUTPUT PROGRAM [ARGUMENTS...]"));
    const QString program = QString::fromLocal8Bit(argv[3]);
    QStringList arguments;
    for (int i = 4; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return fail(QStringLiteral("%1 %2 failed: %3")
                        .arg(program, arguments.join(QLatin1Char(' ')), process.errorString()));
    Help help;
    QString error;
    if (!readHelp(QString::fromUtf8(process.readAllStandardOutput()), help, error))
        return fail(program + QStringLiteral(": ") + error);

    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly))
        return fail(in.fileName() + QStringLiteral(": ") + in.errorString());
    QStringList page;
    for (const QString &line : QString::fromUtf8(in.readAll()).split(QLatin1Char('\n'))) {
        const QLatin1String mark(".\\\" from --help: ");
        if (!line.startsWith(mark)) {
            page << line;
            continue;
        }
        const QString part = line.mid(mark.size()).trimmed();
        const QString roff = roffOf(help, part);
        if (roff.isEmpty() && part != QLatin1String("notes"))
            return fail(in.fileName() + QStringLiteral(": no part \"%1\" of --help").arg(part));
        if (!roff.isEmpty())
            page << roff.chopped(1);
    }

    QSaveFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly) || out.write(page.join(QLatin1Char('\n')).toUtf8()) < 0 ||
        !out.commit())
        return fail(out.fileName() + QStringLiteral(": ") + out.errorString());
    return 0;
}
