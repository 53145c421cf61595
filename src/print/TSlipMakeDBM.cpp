#include "TSlipMakeDBM.h"

#include "NumberTemplate.h"
#include "PrintProgress.h"
#include "platform/AppFolder.h"
#include "platform/CommaText.h"
#include "platform/Cp932.h"
#include "platform/IntText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// Ends the run from deep inside the section walk; caught in WritePrintData.
struct GenerationError {
    QString message;
};

QString upper(const QString &s)
{
    return s.toUpper();
}

QString lineSuffix(qint64 index)
{
    return QString::number(index).rightJustified(5, u'0');
}

// Decimal text of the slip files; nothing for text that is no finite number.
std::optional<double> toNumber(const QString &text)
{
    // Slip amounts are short plain decimals ("8800", "-2475", "0.5"): read
    // those without the general conversion, which costs far more.
    if (text.size() < 32) {
        char buf[32];
        qsizetype n = 0;
        for (QChar c : text) {
            const char16_t u = c.unicode();
            if (!((u >= u'0' && u <= u'9') || u == u'.' || u == u'-'))
                break;
            buf[n++] = char(u);
        }
        double v = 0;
        if (n == text.size() && n > 0) {
            const auto r = std::from_chars(buf, buf + n, v, std::chars_format::fixed);
            if (r.ec == std::errc() && r.ptr == buf + n && std::isfinite(v))
                return v;
        }
    }
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

const QString HeaderKw = u"HEADER"_s;
const QString FooterKw = u"FOOTER"_s;
const QString FirstKw = u"FIRST"_s;
const QString LastKw = u"LAST"_s;
const QString RepeatKw = u"REPEAT"_s;
const QString TopKw = u"TOP"_s;
const QString BottomKw = u"BOTTOM"_s;
const QString RepLineKw = u"REPLINE"_s;
const QString LineKw = u"LINE"_s;

} // namespace

struct TSlipMakeDBM::Global {
    qint64 pageHeight = 0;
    qint64 topAlign = 0;
    QString fontName;
    int fontSize = 10;
    int fontColor = 0;
    int fontStyle = 0;
    int brushStyle = 16777215;
    int brushColor = 16777215;
    QString headerType;
    QString headerAlign;
    qint64 headerHeight = 0;
    QString footerType;
    QString footerAlign;
    qint64 footerHeight = 0;
    QStringList sumNames;
    QString sumRemove;
    bool multiPage = false;
};

// The item keys of one item of a format section, read once per run.
struct TSlipMakeDBM::Item {
    QString suffix;
    QString type; // upper-cased
    QString name;
    qint64 left = 0;
    qint64 top = 0;
    int align = 0;
    QString fontName;
    int fontSize = -1;
    int fontStyle = -1;
    int fontColor = -1;
    QString dateFormat;
    QString digit;
    QString mDigit;
    int zeroDisp = 0;
    QString checkString;
    int sumIndex = -1; // repeated-line items: the page sum the item feeds
};

// A format section's own keys, read once per run; its items on first use.
struct TSlipMakeDBM::Section {
    QString name;
    QStringList elements;
    QString kind; // first element, upper-cased
    QString key;  // slip-data key of an item section
    int column = 1;
    int repColumn = 0; // Column as the repeated-line layout reads it
    QString type;
    QString block;
    QString page;
    qint64 lineHeight = 0;
    qint64 dataCount = 0; // repeated-line section: Count of its slip-data section
    QString ifValue;      // IfValue: the section prints only when this holds
    QHash<int, Item> items;
};

// A [Script] line, encoded once per run.
struct TSlipMakeDBM::ScriptLine {
    bool selector = false;
    QString selectorValue; // upper-cased
    bool condition = false;
    QString conditionValue; // an IfValue key: the value the next lines depend on
    QByteArray encoded;     // the script line with its CR LF
};

// Buffered CP932 writer with a size limit.
class TSlipMakeDBM::Output {
public:
    Output(QIODevice &dev, QString name) : dev_(dev), name_(std::move(name)) { buf_.reserve(BufferSize * 2); }

    void writeFields(const QStringList &fields) { writeEncoded(encodeLine(fields, &unmappable_)); }

    // A text line; the text field is quoted and encoded once per distinct
    // text, the verb and the numbers are ASCII.
    void writeText(const char *verb, const QString &text, qint64 x, qint64 y)
    {
        auto it = textCache_.constFind(text);
        if (it == textCache_.cend()) {
            if (textCache_.size() >= 4096)
                textCache_.clear();
            it = textCache_.insert(text, Cp932::encode(CommaText::join({text}), &unmappable_));
        }
        const qsizetype before = buf_.size();
        buf_ += verb;
        buf_ += ',';
        buf_ += *it;
        buf_ += ',';
        appendNumber(x);
        buf_ += ',';
        appendNumber(y);
        buf_ += "\r\n";
        account(buf_.size() - before);
    }

    static QByteArray encodeLine(const QStringList &fields, QString *unmappable = nullptr)
    {
        QByteArray b = Cp932::encode(CommaText::join(fields), unmappable);
        b += "\r\n";
        return b;
    }

    void writeEncoded(const QByteArray &line)
    {
        buf_ += line;
        account(line.size());
    }

    void flush()
    {
        if (buf_.isEmpty())
            return;
        if (dev_.write(buf_) != buf_.size())
            throw GenerationError{name_ + u" に書き込めません"_s};
        buf_.clear();
    }

private:
    // Counts a line just appended to the buffer; a line that takes the script
    // past its limit is dropped and ends the run.
    void account(qsizetype bytes)
    {
        total_ += bytes;
        if (total_ > MaxScriptBytes) {
            buf_.chop(bytes);
            throw GenerationError{
                QStringLiteral(
                    "印刷データが大きすぎます（%1 MB を超えました）。印刷書式の設定を確認してください。")
                    .arg(MaxScriptBytes >> 20)};
        }
        if (buf_.size() >= BufferSize)
            flush();
    }

    void appendNumber(qint64 v)
    {
        char digits[24];
        const auto r = std::to_chars(digits, digits + sizeof digits, v);
        buf_.append(digits, r.ptr - digits);
    }

public:
    // Characters written that CP932 cannot hold (they print as "?").
    QString unmappable_;

private:
    static constexpr qsizetype BufferSize = 256 * 1024;
    QIODevice &dev_;
    QString name_;
    QByteArray buf_;
    qint64 total_ = 0;
    QHash<QString, QByteArray> textCache_;
};

TSlipMakeDBM::TSlipMakeDBM(PrintRunInputs inputs, PrintProgress *progress)
    : in_(std::move(inputs)), progress_(progress)
{
}

TSlipMakeDBM::~TSlipMakeDBM() = default;

QString TSlipMakeDBM::snapshotPath(const QString &appDir, const QString &instancePrefix)
{
    return AppFolder(appDir).tempFolder() + instancePrefix + u"PrTmpDat2"_s;
}

QString TSlipMakeDBM::scriptPath(const QString &appDir, const QString &instancePrefix)
{
    return AppFolder(appDir).tempFolder() + instancePrefix + u"PrTmpDat"_s;
}

bool TSlipMakeDBM::MakePrintData(QString &scriptPath)
{
    scriptPath.clear();
    error_.clear();
    if (!QFileInfo::exists(in_.snapshotPath))
        return true;
    QDir().mkpath(QFileInfo(in_.scriptPath).absolutePath());
    QFile file(in_.scriptPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        error_ = in_.scriptPath + u" に書き込めません"_s;
        return false;
    }
    if (!WritePrintData(file))
        return false;
    file.close();
    if (file.error() != QFileDevice::NoError) {
        error_ = in_.scriptPath + u" に書き込めません"_s;
        return false;
    }
    scriptPath = in_.scriptPath;
    return true;
}

bool TSlipMakeDBM::WritePrintData(QIODevice &out)
{
    error_.clear();
    if (!QFileInfo::exists(in_.snapshotPath))
        return true;
    return generate(out);
}

bool TSlipMakeDBM::WritePrintData(const QByteArray &slip, const QByteArray &format, QIODevice &out)
{
    error_.clear();
    slip_ = std::make_unique<IniFile>(IniFile::fromBytes(slip));
    format_ = std::make_unique<IniFile>(IniFile::fromBytes(format));
    return generate(out);
}

bool TSlipMakeDBM::generate(QIODevice &out)
{
    const QString name = in_.scriptPath.isEmpty() ? u"印刷データ"_s : in_.scriptPath;
    out_ = std::make_unique<Output>(out, name);
    bool ok = true;
    try {
        run();
        out_->flush();
    } catch (const GenerationError &e) {
        error_ = e.message;
        ok = false;
        try {
            out_->flush(); // what was written so far stays, as a clue for the format's author
        } catch (const GenerationError &) {
        }
    }
    unmappable_ = out_->unmappable_;
    if (progress_)
        progress_->end();
    return ok;
}

QString TSlipMakeDBM::formatName() const
{
    return QFileInfo(in_.formatPath).completeBaseName();
}

void TSlipMakeDBM::fail(const QString &message) const
{
    throw GenerationError{message};
}

void TSlipMakeDBM::run()
{
    // Sources given as bytes are already here; paths are read now.
    if (!slip_) {
        slip_ = std::make_unique<IniFile>(in_.snapshotPath);
        if (!slip_->readable())
            fail(in_.snapshotPath + u" を読み込めません"_s);
    }
    if (!format_) {
        if (!QFileInfo(in_.formatPath).isFile())
            fail(QStringLiteral("印刷書式 %1 が見つかりません。")
                     .arg(QDir::toNativeSeparators(in_.formatPath)));
        format_ = std::make_unique<IniFile>(in_.formatPath);
        if (!format_->readable())
            fail(in_.formatPath + u" を読み込めません"_s);
    }

    if (progress_)
        progress_->begin(u"処理中..."_s, u"印刷データを作成しています..."_s);

    const QStringList names = format_->sections();
    for (const QString &name : names) {
        if (upper(format_->readString(name, u"Type"_s)) == RepLineKw) {
            pitch_ = format_->readInteger(name, u"LineHeight"_s, 0);
            lineCount_ = slip_->readInteger(name, u"Count"_s, 0);
            break;
        }
    }
    readGlobal();
    pageCount_ = CountPages();

    const qint64 sectionCount = names.size();
    if (progress_)
        progress_->setMax(int(std::min<qint64>(sectionCount * 4 * pageCount_, INT_MAX)));

    const QString globalName = u"Global"_s;
    for (int c = 1; c <= 4; ++c) {
        copy_ = c;
        lineIndex_ = 0;
        pageIndex_ = 0;
        if (!in_.enabled[size_t(c - 1)])
            continue;
        for (int p = 0; p < pageCount_; ++p) {
            pageIndex_ = p;
            std::fill(pageSums_.begin(), pageSums_.end(), 0.0);
            for (qint64 i = 0; i < sectionCount; ++i) {
                const QString &name = names.at(i);
                if (name == globalName) // only this spelling is the global section
                    continue;
                ProcessSection(name);
                if (progress_)
                    progress_->setPosition(int(std::min<qint64>(
                        sectionCount * pageCount_ * (c - 1) + sectionCount * p + i + 1, INT_MAX)));
            }
            if (p != pageCount_ - 1)
                out_->writeFields({u"page"_s});
        }
        const bool laterCopy =
            std::any_of(in_.enabled.begin() + c, in_.enabled.end(), [](bool b) { return b; });
        if (laterCopy)
            out_->writeFields({u"page"_s});
    }
}

void TSlipMakeDBM::readGlobal()
{
    global_ = std::make_unique<Global>();
    Global &g = *global_;
    const IniFile &f = *format_;
    const QString s = u"Global"_s;
    g.pageHeight = f.readInteger(s, u"PageHeight"_s, 0);
    g.topAlign = f.readInteger(s, u"TopAlign"_s, 0);
    g.fontName = f.readString(s, u"FontName"_s, u"ＭＳ ゴシック"_s);
    g.fontSize = f.readInteger(s, u"FontSize"_s, 10);
    g.fontColor = f.readInteger(s, u"FontColor"_s, 0);
    g.fontStyle = f.readInteger(s, u"FontStyle"_s, 0);
    g.brushStyle = f.readInteger(s, u"BrushStyle"_s, 16777215);
    g.brushColor = f.readInteger(s, u"BrushColor"_s, 16777215);
    g.headerType = upper(f.readString(s, u"HeaderType"_s));
    g.headerAlign = upper(f.readString(s, u"HeaderAlign"_s));
    g.headerHeight = f.readInteger(s, u"HeaderHeight"_s, 0);
    g.footerType = upper(f.readString(s, u"FooterType"_s));
    g.footerAlign = upper(f.readString(s, u"FooterAlign"_s));
    g.footerHeight = f.readInteger(s, u"FooterHeight"_s, 0);
    for (const QString &n : CommaText::split(f.readString(s, u"SumColumnName"_s)))
        g.sumNames.append(n.trimmed());
    g.sumRemove = f.readString(s, u"SumRemoveName"_s);
    g.multiPage = f.readBool(s, u"MultiPage"_s, false);
    pageSums_.assign(size_t(g.sumNames.size()), 0.0);
}

int TSlipMakeDBM::CountPages()
{
    if (pitch_ <= 0)
        return 0;
    const Global &g = *global_;
    qint64 remaining = lineCount_;
    qint64 pages = 0;
    while (remaining > 0) {
        ++pages;
        if (pages > MaxPages)
            fail(
                QStringLiteral("印刷書式「%1」では明細が %2 ページを超えるため、印刷データを作成できません。")
                    .arg(formatName(), QString::number(MaxPages)));
        qint64 room = g.pageHeight - g.topAlign;
        if (pages == 1) {
            if (g.headerType == FirstKw)
                room -= g.headerHeight;
            if (g.footerType == FirstKw)
                room -= g.footerHeight;
        }
        if (g.headerType == RepeatKw)
            room -= g.headerHeight;
        if (g.footerType == RepeatKw)
            room -= g.footerHeight;
        // Room below zero holds no line; it never makes room for more lines.
        const qint64 fit = std::max<qint64>(0, room / pitch_);
        if (fit == 0 && pages > 1)
            fail(QStringLiteral("印刷書式「%1」は明細行をページに割り付けられません。2ページ目以降の明細欄"
                                "（PageHeight − TopAlign − 毎ページの帯の高さ）が行の高さ LineHeight=%2 "
                                "より狭くなっています。")
                     .arg(formatName(), QString::number(pitch_)));
        const qint64 placed = std::min(fit, remaining);
        remaining -= fit;
        if (remaining <= 0) {
            qint64 free = room - placed * pitch_;
            if (g.headerType == LastKw)
                free -= g.headerHeight;
            if (g.footerType == LastKw)
                free -= g.footerHeight;
            if (free < 0)
                ++pages; // the last bands move to a page of their own
        }
    }
    return pages == 0 ? 1 : int(pages);
}

QString TSlipMakeDBM::PageKind(int i, int n)
{
    if (i == 0 && n >= 2)
        return FirstKw;
    if (i < n - 1 && n > 1)
        return u"NOMAL"_s;
    if (i == n - 1 && n > 1)
        return LastKw;
    if (i == 0 && n == 1)
        return u"SINGLE"_s;
    return QString();
}

TSlipMakeDBM::Section &TSlipMakeDBM::section(const QString &name)
{
    auto it = sections_.find(name);
    if (it != sections_.end())
        return *it.value();
    auto s = std::make_shared<Section>();
    const IniFile &f = *format_;
    s->name = name;
    for (const QString &e : CommaText::split(name))
        s->elements.append(e.trimmed());
    if (s->elements.isEmpty())
        s->elements.append(name);
    s->kind = upper(s->elements.first());
    s->key = s->elements.size() > 1 && !s->elements.at(1).isEmpty() ? s->elements.at(1) : s->elements.first();
    s->column = f.readInteger(name, u"Column"_s, 1);
    s->repColumn = f.readInteger(name, u"Column"_s, 0);
    s->type = upper(f.readString(name, u"Type"_s));
    s->block = upper(f.readString(name, u"Block"_s));
    s->page = upper(f.readString(name, u"Page"_s));
    s->lineHeight = f.readInteger(name, u"LineHeight"_s, 0);
    s->ifValue = f.readString(name, u"IfValue"_s);
    if (s->type == RepLineKw)
        s->dataCount = slip_->readInteger(name, u"Count"_s, 0);
    return *sections_.insert(name, std::move(s)).value();
}

const TSlipMakeDBM::Item &TSlipMakeDBM::item(Section &s, int n)
{
    auto it = s.items.find(n);
    if (it != s.items.end())
        return it.value();
    const IniFile &f = *format_;
    Item item;
    // The repeated-line section numbers its items always, other sections from
    // two items on.
    item.suffix = (s.type == RepLineKw || s.column >= 2) ? QString::number(n) : QString();
    auto key = [&](const char16_t *base) -> QString { return QString::fromUtf16(base) + item.suffix; };
    item.type = upper(f.readString(s.name, key(u"Type")));
    item.name = f.readString(s.name, key(u"Name"));
    item.left = f.readInteger(s.name, key(u"Left"), 0);
    item.top = f.readInteger(s.name, key(u"Top"), 0);
    item.align = f.readInteger(s.name, key(u"Align"), 0);
    item.fontName = f.readString(s.name, key(u"FontName"));
    item.fontSize = f.readInteger(s.name, key(u"FontSize"), -1);
    item.fontStyle = f.readInteger(s.name, key(u"FontStyle"), -1);
    item.fontColor = f.readInteger(s.name, key(u"FontColor"), -1);
    item.dateFormat = f.readString(s.name, key(u"DateFormat"));
    if (in_.eraDates()) {
        // An era pattern of its own wins when dates are shown in the era form.
        const QString era = f.readString(s.name, key(u"EraDateFormat"));
        if (!era.isEmpty())
            item.dateFormat = era;
    }
    if (item.dateFormat.isEmpty())
        item.dateFormat = in_.datePattern;
    item.digit = f.readString(s.name, key(u"Digit"));
    item.mDigit = f.readString(s.name, key(u"MDigit"));
    item.zeroDisp = f.readInteger(s.name, key(u"ZeroDisp"), 0);
    item.checkString = f.readString(s.name, key(u"CheckString"));
    const QStringList &sums = global_->sumNames;
    for (qsizetype i = 0; i < sums.size(); ++i)
        if (!item.name.isEmpty() && sums.at(i).compare(item.name, Qt::CaseInsensitive) == 0)
            item.sumIndex = int(i);
    return s.items.insert(n, std::move(item)).value();
}

template <class ItemKeys> static TWriteSetting recordOf(const ItemKeys &item)
{
    TWriteSetting r;
    r.type = item.type;
    r.fontName = item.fontName;
    r.dateFormat = item.dateFormat;
    r.digit = item.digit;
    r.mDigit = item.mDigit;
    r.x = item.left;
    r.y = item.top;
    r.fontStyle = item.fontStyle;
    r.fontSize = item.fontSize;
    r.fontColor = item.fontColor;
    r.align = item.align;
    r.zeroDisp = item.zeroDisp;
    return r;
}

void TSlipMakeDBM::ProcessSection(const QString &name)
{
    Section &s = section(name);
    const Global &g = *global_;
    const bool firstPage = pageIndex_ == 0;
    const bool lastPage = pageIndex_ == pageCount_ - 1;
    if (s.block == HeaderKw && g.headerType == FirstKw && !firstPage)
        return;
    if (s.block == FooterKw && g.footerType == FirstKw && !firstPage)
        return;
    if (s.block == FooterKw && g.footerType == LastKw && !lastPage)
        return;
    if (!s.page.isEmpty() && !s.page.contains(PageKind()))
        return;
    if (!s.ifValue.isEmpty() && !hasValue(s.ifValue))
        return;
    if (s.type == RepLineKw) {
        LayOutLines(name);
        return;
    }
    if (s.column > MaxColumns)
        fail(QStringLiteral("印刷書式「%1」の [%2] の Column=%3 が大きすぎます（%4 まで）。")
                 .arg(formatName(), name, QString::number(s.column), QString::number(MaxColumns)));

    // Entries: the keys of a list section, or the one key of an item section.
    QStringList entryKeys;
    const QString &dataSection = s.elements.first();
    if (s.type == LineKw) {
        const QString prefix = s.elements.size() > 1 ? s.elements.at(1) : QString();
        if (!prefix.isEmpty())
            for (const QString &k : slip_->keys(dataSection))
                if (QString(k + u'=' + slip_->readString(dataSection, k)).startsWith(prefix))
                    entryKeys.append(k);
    } else {
        entryKeys.append(s.key);
    }

    for (qsizetype e = 0; e < entryKeys.size(); ++e) {
        QString value;
        bool valueRead = false;
        QStringList elements;
        bool split = false;
        for (int n = 1; n <= s.column; ++n) {
            const Item &it = item(s, n);
            TWriteSetting r = recordOf(it);
            r.y = it.top + s.lineHeight * e;
            if (s.kind == u"SLIPTITLE"_s) {
                r.text = in_.titles[size_t(copy_ - 1)];
            } else if (s.kind == u"LOGOIMAGE"_s) {
                WriteLogo();
                return;
            } else if (s.kind == u"SLIPPAGE"_s) {
                const auto t = NumberTemplate::formatPage(it.digit, pageIndex_ + 1, pageCount_);
                if (!t)
                    fail(QStringLiteral("印刷書式「%1」の [%2] Digit%3 の書式 \"%4\" がページ番号（整数 2 "
                                        "個）に合いません。")
                             .arg(formatName(), name, it.suffix, it.digit));
                r.text = *t;
            } else if (s.kind == u"PAGESUM"_s) {
                const int index = s.elements.size() > 1 ? IntText::toIntDef(s.elements.at(1), -1) : -1;
                if (index >= 0 && index < int(pageSums_.size()) && pageSums_[size_t(index)] != 0.0) {
                    const auto t = NumberTemplate::formatAmount(it.digit, pageSums_[size_t(index)]);
                    if (!t)
                        fail(
                            QStringLiteral("印刷書式「%1」の [%2] Digit%3 の書式 \"%4\" が金額に合いません。")
                                .arg(formatName(), name, it.suffix, it.digit));
                    r.text = *t;
                }
            } else if (s.kind == u"SCRIPT"_s) {
                CopyScript();
                return;
            } else {
                if (!valueRead) {
                    value = slip_->readString(dataSection, entryKeys.at(e));
                    valueRead = true;
                }
                if (s.column < 2) {
                    r.text = valueText(s, it, value, false);
                } else {
                    if (!split) {
                        for (const QString &el : CommaText::split(value))
                            elements.append(el.trimmed());
                        split = true;
                    }
                    if (n <= elements.size())
                        r.text = valueText(s, it, elements.at(n - 1), true);
                }
            }
            WriteItem(r);
        }
    }
}

QString TSlipMakeDBM::valueText(const Section &s, const Item &it, const QString &value, bool commaList)
{
    if (it.type == u"STRING"_s)
        return value;
    if (it.type == u"DATE"_s) {
        if (commaList && value.isEmpty())
            return QString();
        const auto date = DatePattern::parseShortDate(value);
        if (!date) {
            if (commaList)
                fail(QStringLiteral("印刷書式「%1」の [%2] 項目 %3: \"%4\" は正しい日付ではありません。")
                         .arg(formatName(), s.name, it.suffix, value));
            return QString();
        }
        if (!commaList && *date == DatePattern::dayZero())
            return QString();
        return DatePattern::format(*date, it.dateFormat, eras_);
    }
    if (it.type == u"CHECK"_s) {
        const bool on = commaList ? value == u"1"_s : IntText::toIntDef(value, 0) != 0;
        return on ? it.checkString : QString();
    }
    if (it.type == u"CURRENCY"_s) {
        if (commaList && value.isEmpty())
            return QString();
        const auto amount = toNumber(value);
        if (!amount && commaList)
            fail(QStringLiteral("印刷書式「%1」の [%2] 項目 %3: \"%4\" は正しい数値ではありません。")
                     .arg(formatName(), s.name, it.suffix, value));
        return amountText(s, it, amount.value_or(0.0), false);
    }
    return commaList ? value : QString();
}

QString TSlipMakeDBM::amountText(const Section &s, const Item &it, double amount, bool negativeFlag)
{
    const QString *tmpl = &it.digit;
    const char16_t *key = u"Digit";
    if (it.zeroDisp == 0) {
        if (amount == 0.0)
            return QString();
        if (amount < 0 && negativeFlag) {
            tmpl = &it.mDigit;
            key = u"MDigit";
            amount = -amount;
        }
    }
    const auto t = NumberTemplate::formatAmount(*tmpl, amount);
    if (!t)
        fail(QStringLiteral("印刷書式「%1」の [%2] %3%4 の書式 \"%5\" が金額に合いません。")
                 .arg(formatName(), s.name, QString::fromUtf16(key), it.suffix, *tmpl));
    return *t;
}

void TSlipMakeDBM::LayOutLines(const QString &name)
{
    Section &s = section(name);
    const Global &g = *global_;
    qint64 top = g.topAlign;
    qint64 bottom = g.pageHeight;
    auto applyBands = [&](const QString &type) {
        if (g.headerType == type) {
            if (g.headerAlign == TopKw)
                top += g.headerHeight;
            else if (g.headerAlign == BottomKw)
                bottom -= g.headerHeight;
        }
        if (g.footerType == type) {
            if (g.footerAlign == TopKw)
                top += g.footerHeight;
            else if (g.footerAlign == BottomKw)
                bottom -= g.footerHeight;
        }
    };
    if (pageIndex_ == 0)
        applyBands(FirstKw);
    if (pageIndex_ == pageCount_ - 1)
        applyBands(LastKw);
    applyBands(RepeatKw);

    if (s.repColumn > MaxColumns)
        fail(QStringLiteral("印刷書式「%1」の [%2] の Column=%3 が大きすぎます（%4 まで）。")
                 .arg(formatName(), name, QString::number(s.repColumn), QString::number(MaxColumns)));
    const qint64 slots = (bottom - top) / pitch_;
    if (slots < 1)
        return;
    for (qint64 k = 0; k < slots; ++k) {
        if (lineIndex_ >= s.dataCount) {
            // Slots past the last line item print nothing but use up indexes.
            lineIndex_ += slots - k;
            break;
        }
        // Read for each copy again: keeping every line's values for the
        // later copies would hold the whole slip a second time.
        const QString suffix = lineSuffix(lineIndex_);
        const bool negative = slip_->readBool(name, u"DigitType"_s + suffix, false);
        bool excluded = false;
        for (int n = 1; n <= s.repColumn; ++n) {
            const Item &it = item(s, n);
            const QString value = slip_->readString(name, it.name + suffix);
            TWriteSetting r = recordOf(it);
            r.y = it.top + top + pitch_ * k;
            r.negative = negative;
            if (!g.sumRemove.isEmpty() && value.contains(g.sumRemove))
                excluded = true;
            if (!value.isEmpty()) {
                if (it.type == u"STRING"_s) {
                    r.text = value;
                } else if (it.type == u"DATE"_s) {
                    const auto date = DatePattern::parseShortDate(value);
                    if (date && *date != DatePattern::dayZero())
                        r.text = DatePattern::format(*date, it.dateFormat, eras_);
                } else if (it.type == u"CURRENCY"_s) {
                    const double amount = toNumber(value).value_or(0.0);
                    if (it.sumIndex >= 0 && !excluded)
                        pageSums_[size_t(it.sumIndex)] += amount;
                    r.text = amountText(s, it, amount, negative);
                }
            }
            WriteItem(r);
        }
        ++lineIndex_;
    }
}

void TSlipMakeDBM::WriteItem(const TWriteSetting &record)
{
    if (record.text.isEmpty())
        return;
    if (record.fontName.isEmpty())
        EmitGlobalFont();
    else if (record.fontStyle >= 0 && record.fontSize >= 0 && record.fontColor >= 0)
        EmitItemFont(record.fontName, record.fontStyle, record.fontSize, record.fontColor);
    const char *verb = record.align == 1 ? "rtext" : record.align == 2 ? "ctext" : "text";
    out_->writeText(verb, record.text, record.x, record.y);
}

void TSlipMakeDBM::EmitGlobalFont()
{
    const Global &g = *global_;
    if (font_.face != g.fontName || font_.size != g.fontSize || font_.style != g.fontStyle ||
        font_.colour != g.fontColor) {
        out_->writeFields({u"font"_s, g.fontName, QString::number(g.fontSize), QString::number(g.fontStyle),
                           QString::number(g.fontColor)});
        font_ = {g.fontName, g.fontSize, g.fontStyle, g.fontColor};
    }
    if (fill_.style != g.brushStyle || fill_.colour != g.brushColor) {
        out_->writeFields({u"brush"_s, QString::number(g.brushStyle), QString::number(g.brushColor)});
        fill_ = {g.brushStyle, g.brushColor};
    }
}

void TSlipMakeDBM::EmitItemFont(const QString &face, int style, int size, int colour)
{
    if (font_.face == face && font_.size == size && font_.style == style && font_.colour == colour)
        return;
    out_->writeFields(
        {u"font"_s, face, QString::number(size), QString::number(style), QString::number(colour)});
    font_ = {face, size, style, colour};
}

void TSlipMakeDBM::WriteLogo()
{
    const IniFile &f = *format_;
    const QString s = u"LogoImage"_s;
    const qint64 left = f.readInteger(s, u"Left"_s, 0);
    const qint64 top = f.readInteger(s, u"Top"_s, 0);
    const qint64 width = f.readInteger(s, u"Width"_s, 0);
    const qint64 height = f.readInteger(s, u"Height"_s, 0);
    out_->writeFields({u"logo"_s, QString::number(left), QString::number(top), QString::number(left + width),
                       QString::number(top + height), in_.logoPath});
}

void TSlipMakeDBM::CopyScript()
{
    if (!scriptLoaded_) {
        const IniFile &f = *format_;
        const QString s = u"Script"_s;
        for (const QString &key : f.keys(s)) {
            ScriptLine line;
            const QString value = f.readString(s, key);
            if (upper(key).contains(u"BLOCK"_s)) {
                line.selector = true;
                line.selectorValue = upper(value);
            } else if (upper(key).startsWith(u"IFVALUE"_s)) {
                line.condition = true;
                line.conditionValue = value;
            } else {
                QStringList fields = SplitScriptValue(value);
                if (fields.isEmpty())
                    fields.append(QString()); // an empty value is a line of one empty field
                line.encoded = Output::encodeLine(fields);
            }
            script_.push_back(std::move(line));
        }
        scriptLoaded_ = true;
    }
    const QString kind = global_->multiPage ? PageKind() : QString();
    QString selector;
    bool condition = true;
    for (const ScriptLine &line : script_) {
        if (line.selector)
            selector = line.selectorValue;
        else if (line.condition)
            condition = line.conditionValue.trimmed().isEmpty() || hasValue(line.conditionValue);
        else if (condition && (selector.isEmpty() || (!kind.isEmpty() && selector.contains(kind))))
            out_->writeEncoded(line.encoded);
    }
    // The script may have set any font; put the global one back in force.
    font_ = FontMemory{};
    EmitGlobalFont();
}

bool TSlipMakeDBM::hasValue(const QString &condition) const
{
    for (const QString &part : condition.split(u';')) {
        QString term = part.trimmed();
        const bool negated = term.startsWith(u'!');
        if (negated)
            term = term.mid(1).trimmed();
        const QStringList names = CommaText::split(term);
        if (names.isEmpty())
            continue;
        const QString section = names.first().trimmed();
        const QString key = names.size() > 1 ? names.at(1).trimmed() : section;
        const QString value = slip_->readString(section, key).trimmed();
        // A blank, a zero amount and the no-date value all mean "not filled in".
        bool number = false;
        const double amount = value.toDouble(&number);
        const bool empty = value.isEmpty() || (number && amount == 0.0) ||
                           DatePattern::parseShortDate(value) == DatePattern::dayZero();
        if (empty == negated)
            return true;
    }
    return false;
}

QStringList TSlipMakeDBM::SplitScriptValue(const QString &text)
{
    QStringList raw;
    QString current;
    bool open = false;
    for (QChar c : text) {
        if (c == u',' || c == u'\t') {
            raw.append(current);
            current.clear();
            open = false;
        } else {
            current += c;
            open = true;
        }
    }
    if (open)
        raw.append(current);

    QStringList fields;
    fields.reserve(raw.size());
    for (const QString &f : raw) {
        if (!f.startsWith(u'"')) {
            fields.append(f);
            continue;
        }
        QString content;
        qsizetype p = 1;
        while (p < f.size()) {
            if (f.at(p) == u'"') {
                if (p + 1 < f.size() && f.at(p + 1) == u'"') {
                    content += u'"';
                    p += 2;
                    continue;
                }
                break;
            }
            content += f.at(p++);
        }
        if (!content.isEmpty())
            fields.append(content);
        else if (f == u"\"\""_s)
            fields.append(QString());
        else
            fields.append(f);
    }
    return fields;
}
