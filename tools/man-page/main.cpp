// man-page: writes a program's manual page from a template and the program's own --help, so the
// page lists every option as the program explains it and the two cannot drift apart:
//   man-page TEMPLATE OUTPUT PROGRAM [ARGUMENTS...]
// runs PROGRAM ARGUMENTS (for example --help), reads the help text from its standard output and
// copies TEMPLATE to OUTPUT, where the line `.\" from --help: options` becomes one tagged
// paragraph per option and argument, and `.\" from --help: notes` the paragraphs that follow
// the options. The help text is read as the programs write it: a usage block first; headings
// ("Options:") ending in a colon; entries indented by two spaces, the description starting in
// a column shared by the entries of a list, where its continuation lines start too.

#include <QFile>
#include <QSaveFile>
#include <QProcess>
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
    QList<Entry> entries;
    QStringList notes; // paragraphs after the first list
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
        error = QStringLiteral("no description column in the list beginning \"%1\"")
                    .arg(lines.first());
        return false;
    }
    for (const QString &line : lines) {
        if (line.left(column).trimmed().isEmpty()) { // a continuation line
            if (entries.isEmpty()) {
                error = QStringLiteral("a list begins with a continuation: \"%1\"").arg(line);
                return false;
            }
            entries.last().description += QLatin1Char(' ') + line.mid(column).trimmed();
            continue;
        }
        if (line.size() > column && line[column - 1] != QLatin1Char(' ')) {
            error = QStringLiteral("an option runs into its description: \"%1\"").arg(line);
            return false;
        }
        entries.append({line.left(column).trimmed(), line.mid(column).trimmed()});
    }
    return true;
}

// A heading is one word ending in a colon at the line's start ("Options:"); the page has its own.
bool isHeading(const QString &line)
{
    return indentOf(line) == 0 && line.trimmed().endsWith(QLatin1Char(':')) &&
           !line.trimmed().contains(QLatin1Char(' '));
}

bool readHelp(const QString &text, Help &help, QString &error)
{
    QList<QStringList> blocks{{}};
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        if (line.trimmed().isEmpty()) {
            if (!blocks.last().isEmpty())
                blocks.append({});
        } else if (!isHeading(line)) {
            blocks.last().append(line);
        }
    }
    for (const QStringList &block : blocks) {
        if (block.isEmpty() || block.first().startsWith(QLatin1String("Usage:")))
            continue;
        if (indentOf(block.first()) == 2) {
            if (!readList(block, help.entries, error))
                return false;
        } else if (!help.entries.isEmpty()) {
            QStringList words;
            for (const QString &line : block)
                words << line.trimmed();
            help.notes << words.join(QLatin1Char(' '));
        }
    }
    if (help.entries.isEmpty())
        error = QStringLiteral("the help text lists no options");
    return !help.entries.isEmpty();
}

// Text for a roff text line: backslashes and non-ASCII characters escaped, a minus at the
// start of a word written as a minus (so an option's dashes can be copied from the page), and
// a leading dot or quote kept from being read as a request.
QString roffText(const QString &text)
{
    QString out;
    char32_t previous = U' ';
    bool previousMinus = false;
    for (const char32_t c : text.toUcs4()) {
        const bool wordStart = std::u32string_view(U" (\"'/[=,").find(previous) !=
                               std::u32string_view::npos;
        const bool minus = c == U'-' && (wordStart || previousMinus);
        if (c == U'\\')
            out += QLatin1String("\\e");
        else if (minus)
            out += QLatin1String("\\-");
        else if (c > 127)
            out += QStringLiteral("\\[u%1]").arg(
                QString::number(quint32(c), 16).toUpper().rightJustified(4, QLatin1Char('0')));
        else
            out += QChar(c);
        previous = c;
        previousMinus = minus;
    }
    if (out.startsWith(QLatin1Char('.')) || out.startsWith(QLatin1Char('\'')))
        out.prepend(QLatin1String("\\&"));
    return out;
}

// "-h, --help", "--mass <M>", "--start PROGRAM ...", "[parameters...]": option names in bold,
// the values' placeholders in italics.
QString roffTerm(const QString &term)
{
    QStringList words;
    for (const QString &word : term.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        QString w = word, comma;
        if (w.endsWith(QLatin1Char(','))) {
            w.chop(1);
            comma = QStringLiteral(",");
        }
        if (w.startsWith(QLatin1Char('-')))
            w = QStringLiteral("\\fB") + roffText(w) + QStringLiteral("\\fR");
        else if (w.startsWith(QLatin1Char('<')) && w.endsWith(QLatin1Char('>')))
            w = QStringLiteral("\\fI") + roffText(w.mid(1, w.size() - 2)) + QStringLiteral("\\fR");
        else if (w.startsWith(QLatin1Char('[')) && w.endsWith(QLatin1Char(']'))) {
            QString inner = w.mid(1, w.size() - 2), dots;
            if (inner.endsWith(QLatin1String("..."))) {
                inner.chop(3);
                dots = QStringLiteral("...");
            }
            w = QStringLiteral("[\\fI") + roffText(inner) + QStringLiteral("\\fR") + dots + "]";
        } else if (w != QLatin1String("..."))
            w = QStringLiteral("\\fI") + roffText(w) + QStringLiteral("\\fR");
        words << w + comma;
    }
    return words.join(QLatin1Char(' '));
}

QString roffOf(const QList<Entry> &entries)
{
    QString out;
    for (const Entry &e : entries)
        out += QStringLiteral(".TP\n%1\n%2\n").arg(roffTerm(e.term), roffText(e.description));
    return out;
}

QString roffOf(const QStringList &notes)
{
    QString out;
    for (const QString &note : notes)
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
    QStringList arguments;
    for (int i = 4; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const QString program = QString::fromLocal8Bit(argv[3]);

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
    QString page = QString::fromUtf8(in.readAll());
    const QString optionsMark = QStringLiteral(".\\\" from --help: options\n");
    const QString notesMark = QStringLiteral(".\\\" from --help: notes\n");
    if (!page.contains(optionsMark))
        return fail(in.fileName() + QStringLiteral(" has no line ") + optionsMark.trimmed());
    page.replace(optionsMark, roffOf(help.entries));
    page.replace(notesMark, roffOf(help.notes));

    QSaveFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(page.toUtf8()) < 0 ||
        !out.commit())
        return fail(out.fileName() + QStringLiteral(": ") + out.errorString());
    return 0;
}
