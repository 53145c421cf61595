// Building the controls of the slip header editor.
#include "FloatEditAccess.h"
#include "SlipSection.h"
#include "TCostPanel.h"
#include "TSlipFrame.h"
#include "TTotalsPanel.h"

#include "controls/widgets/DigitValidator.h"
#include "controls/widgets/TFloatEdit.h"
#include "controls/widgets/TWarekiDateEdit.h"
#include "lines/widgets/SlipGridView.h"
#include "lines/widgets/TSlipGridFrame.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

const QStringList Prefectures = {
    u"北海道"_s, u"青森県"_s, u"岩手県"_s, u"宮城県"_s, u"秋田県"_s, u"山形県"_s,   u"福島県"_s, u"栃木県"_s,
    u"茨城県"_s, u"群馬県"_s, u"埼玉県"_s, u"千葉県"_s, u"東京都"_s, u"神奈川県"_s, u"山梨県"_s, u"長野県"_s,
    u"新潟県"_s, u"富山県"_s, u"石川県"_s, u"福井県"_s, u"岐阜県"_s, u"静岡県"_s,   u"愛知県"_s, u"三重県"_s,
    u"滋賀県"_s, u"京都府"_s, u"大阪府"_s, u"兵庫県"_s, u"奈良県"_s, u"和歌山県"_s, u"鳥取県"_s, u"島根県"_s,
    u"岡山県"_s, u"広島県"_s, u"山口県"_s, u"徳島県"_s, u"香川県"_s, u"愛媛県"_s,   u"高知県"_s, u"福岡県"_s,
    u"佐賀県"_s, u"長崎県"_s, u"熊本県"_s, u"大分県"_s, u"宮崎県"_s, u"鹿児島県"_s, u"沖縄県"_s};

QLineEdit *lineEdit(QWidget *parent, const QString &name, int maxLength = 0, int width = 0)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    if (maxLength > 0)
        e->setMaxLength(maxLength);
    if (width > 0)
        e->setFixedWidth(width);
    return e;
}

QComboBox *comboBox(QWidget *parent, const QString &name, bool editable, const QStringList &items = {})
{
    auto *c = new QComboBox(parent);
    c->setObjectName(name);
    // Editable through its own line edit: setEditable() would also build the
    // drop-down list now, which waits for its first opening this way.
    if (editable)
        c->setLineEdit(new QLineEdit(c));
    c->addItems(items);
    c->setFocusPolicy(Qt::StrongFocus); // the wheel scrolls the editor, not the choice
    return c;
}

// A lookup button whose dialog is not part of the program yet: present, disabled.
QToolButton *lookupButton(QWidget *parent, const QString &name, const QString &hint)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(u"…"_s);
    b->setToolTip(hint);
    b->setStatusTip(hint);
    b->setEnabled(false);
    return b;
}

QLabel *caption(QWidget *parent, const QString &text)
{
    auto *l = new QLabel(text, parent);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

} // namespace

void TSlipFrame::buildTopBar(QWidget *bar)
{
    auto *layout = new QHBoxLayout(bar);
    layout->setContentsMargins(6, 6, 6, 6);
    QFont big = font();
    big.setPointSizeF(big.pointSizeF() + 3);
    QFont larger = font();
    larger.setPointSizeF(larger.pointSizeF() + 2);
    // The three main fields are made inside a box that has their larger
    // font already: a font set on a made combo box or date edit rebuilds
    // their parts (the combo box its drop-down list) once more.
    auto fieldBox = [&](const QString &caption) {
        auto *box = new QWidget(bar);
        box->setFont(larger);
        auto *row = new QHBoxLayout(box);
        row->setContentsMargins(0, 0, 0, 0);
        auto *label = new QLabel(caption, box);
        label->setFont(big);
        row->addWidget(label);
        layout->addWidget(box);
        return std::pair{box, row};
    };

    const auto [codeBox, codeRow] = fieldBox(u"伝票番号"_s);
    SlipCodeEdit = lineEdit(codeBox, u"SlipCodeEdit"_s, 8, 110);
    SlipCodeEdit->setValidator(new DigitValidator(8, SlipCodeEdit));
    SlipCodeEdit->setAttribute(Qt::WA_InputMethodEnabled, false);
    SlipCodeEdit->installEventFilter(this);
    codeRow->addWidget(SlipCodeEdit);

    auto *spin = new QWidget(codeBox);
    spin->setObjectName(u"SpinButton1"_s);
    auto *spinLayout = new QVBoxLayout(spin);
    spinLayout->setContentsMargins(0, 0, 0, 0);
    spinLayout->setSpacing(0);
    auto *up = new QToolButton(spin);
    up->setObjectName(u"SpinButton1Up"_s);
    up->setArrowType(Qt::UpArrow);
    auto *down = new QToolButton(spin);
    down->setObjectName(u"SpinButton1Down"_s);
    down->setArrowType(Qt::DownArrow);
    const int half = SlipCodeEdit->sizeHint().height() / 2;
    for (QToolButton *b : {up, down}) {
        b->setFixedSize(18, half);
        b->setFocusPolicy(Qt::NoFocus);
        spinLayout->addWidget(b);
    }
    connect(up, &QToolButton::clicked, this, [this] { stepSlipNumber(+1); });
    connect(down, &QToolButton::clicked, this, [this] { stepSlipNumber(-1); });
    codeRow->addWidget(spin);
    layout->addSpacing(6);

    const auto [kindBox, kindRow] = fieldBox(u"伝票の種類"_s);
    DDvComBox = comboBox(kindBox, u"DDvComBox"_s, false, {u"見積書"_s, u"作業指示書"_s, u"納品書"_s});
    kindRow->addWidget(DDvComBox);
    layout->addSpacing(6);

    const auto [dateBox, dateRow] = fieldBox(u"発行日"_s);
    DateWDateEdit = new TWarekiDateEdit(dateBox);
    DateWDateEdit->setObjectName(u"DateWDateEdit"_s);
    dateRow->addWidget(DateWDateEdit);
    layout->addSpacing(6);

    layout->addWidget(new QLabel(u"伝票の区分"_s, bar));
    DTpComBox = comboBox(bar, u"DTpComBox"_s, false);
    DTpComBox->setMinimumWidth(90);
    layout->addWidget(DTpComBox);
    layout->addWidget(new QLabel(u"担当者"_s, bar));
    ChargeEdit = lineEdit(bar, u"ChargeEdit"_s, 0, 90);
    layout->addWidget(ChargeEdit);
    SpeedButton4 = lookupButton(bar, u"SpeedButton4"_s, u"担当者の参照"_s);
    layout->addWidget(SpeedButton4);
    layout->addStretch(1);
}

void TSlipFrame::buildCustomer(SlipSection *s)
{
    auto *w = new QWidget(s->inner());
    auto *g = new QGridLayout(w);
    g->setContentsMargins(0, 0, 0, 0);
    CuNameEdit = lineEdit(w, u"CuNameEdit"_s);
    CuTitleComBox = comboBox(w, u"CuTitleComBox"_s, true, {u"様"_s, u"御中"_s});
    CuTitleComBox->setFixedWidth(80);
    Zip1Edit = lineEdit(w, u"Zip1Edit"_s, 3, 44);
    Zip2Edit = lineEdit(w, u"Zip2Edit"_s, 4, 54);
    Zip1Edit->installEventFilter(this);
    Zip2Edit->installEventFilter(this);
    CityComBox = comboBox(w, u"CityComBox"_s, true, Prefectures);
    CityComBox->setMaxVisibleItems(15);
    CityComBox->setCurrentIndex(-1);
    Add1Edit = lineEdit(w, u"Add1Edit"_s);
    Add2Edit = lineEdit(w, u"Add2Edit"_s);
    TelEdit = lineEdit(w, u"TelEdit"_s, 0, 160);

    g->addWidget(caption(w, u"氏名"_s), 0, 0);
    g->addWidget(CuNameEdit, 0, 1, 1, 4);
    g->addWidget(caption(w, u"敬称"_s), 0, 5);
    g->addWidget(CuTitleComBox, 0, 6);
    auto *zip = new QHBoxLayout;
    zip->addWidget(Zip1Edit);
    zip->addWidget(new QLabel(u"-"_s, w));
    zip->addWidget(Zip2Edit);
    QToolButton *zipByCode = lookupButton(w, u"SpeedButton1"_s, u"郵便番号辞書の検索"_s);
    zip->addWidget(zipByCode);
    zip->addStretch(1);
    g->addWidget(caption(w, u"郵便番号"_s), 1, 0);
    g->addLayout(zip, 1, 1, 1, 2);
    g->addWidget(caption(w, u"都道府県"_s), 1, 3);
    g->addWidget(CityComBox, 1, 4);
    g->addWidget(caption(w, u"住所"_s), 2, 0);
    g->addWidget(Add1Edit, 2, 1, 1, 5);
    QToolButton *zipByAddress = lookupButton(w, u"SpeedButton2"_s, u"郵便番号辞書の検索"_s);
    g->addWidget(zipByAddress, 2, 6, Qt::AlignLeft);
    connectZipLookups(zipByCode, zipByAddress);
    g->addWidget(caption(w, u"建物名など"_s), 3, 0);
    g->addWidget(Add2Edit, 3, 1, 1, 5);
    g->addWidget(caption(w, u"電話番号"_s), 4, 0);
    g->addWidget(TelEdit, 4, 1, 1, 2, Qt::AlignLeft);
    g->setColumnStretch(4, 1);
    s->innerLayout()->addWidget(w);
    s->firstFocus = CuNameEdit;
}

void TSlipFrame::buildTax(SlipSection *s)
{
    auto *w = new QWidget(s->inner());
    auto *h = new QHBoxLayout(w);
    h->setContentsMargins(0, 0, 0, 0);
    TaxRNValEditC = FloatEditAccess::make(w, u"TaxRNValEditC"_s, 2, 99.99, false);
    TaxHComBox = comboBox(w, u"TaxHComBox"_s, false, {u"四捨五入"_s, u"切り捨て"_s, u"切り上げ"_s});
    h->addWidget(new QLabel(u"消費税率"_s, w));
    h->addWidget(TaxRNValEditC);
    h->addWidget(new QLabel(u"％"_s, w));
    h->addSpacing(24);
    h->addWidget(new QLabel(u"消費税端数"_s, w));
    h->addWidget(TaxHComBox);
    h->addSpacing(24);
    // 明細ごと rounds each line; 税率ごと rounds once per rate, as a qualified invoice needs.
    TaxCalcComBox = comboBox(w, u"TaxCalcComBox"_s, false, {u"明細ごと"_s, u"税率ごと"_s});
    h->addWidget(new QLabel(u"税計算"_s, w));
    h->addWidget(TaxCalcComBox);
    h->addStretch(1);
    s->innerLayout()->addWidget(w);
    s->firstFocus = TaxRNValEditC;
}

void TSlipFrame::buildVehicle(SlipSection *s)
{
    CarCheckBox = new QCheckBox(u"車両なし"_s, s->inner());
    CarCheckBox->setObjectName(u"CarCheckBox"_s);
    s->innerLayout()->addWidget(CarCheckBox);

    vehiclePanel_ = new QWidget(s->inner());
    vehiclePanel_->setObjectName(u"CarPanel"_s);
    auto *g = new QGridLayout(vehiclePanel_);
    g->setContentsMargins(0, 0, 0, 0);
    QWidget *w = vehiclePanel_;
    CaNumComBox = comboBox(w, u"CaNumComBox"_s, true);
    CaNumComBox->setMaxVisibleItems(20);
    CaNumComBox->setFixedWidth(100);
    CaNumEdit1 = lineEdit(w, u"CaNumEdit1"_s, 3, 50);
    CaNumEllipsisEdit = lineEdit(w, u"CaNumEllipsisEdit"_s, 2, 40);
    CaNumEllipsisEdit->setToolTip(u"かな文字の選択"_s);
    CaNumEdit2 = lineEdit(w, u"CaNumEdit2"_s, 5, 70);
    CaNameEdit = lineEdit(w, u"CaNameEdit"_s);
    ESizeNValEditC = FloatEditAccess::make(w, u"ESizeNValEditC"_s, 0, 1000000, true);
    FirstWDateEdit = new TWarekiDateEdit(w);
    FirstWDateEdit->setObjectName(u"FirstWDateEdit"_s);
    FirstWDateEdit->setDayEnabled(false);
    FirstWDateEdit->setAllowBlank(true);
    FirstCheckBox = new QCheckBox(u"不明"_s, w);
    FirstCheckBox->setObjectName(u"FirstCheckBox"_s);
    CheckWDateEdit = new TWarekiDateEdit(w);
    CheckWDateEdit->setObjectName(u"CheckWDateEdit"_s);
    CheckWDateEdit->setAllowBlank(true);
    CheckCheckBox = new QCheckBox(u"車検なし"_s, w);
    CheckCheckBox->setObjectName(u"CheckCheckBox"_s);
    KiroNValEditC = FloatEditAccess::make(w, u"KiroNValEditC"_s, 0, 1000000, true);
    TypeCodeEdit = lineEdit(w, u"TypeCodeEdit"_s);
    K1Edit = lineEdit(w, u"K1Edit"_s);
    K2Edit = lineEdit(w, u"K2Edit"_s);
    EngCodeEdit = lineEdit(w, u"EngCodeEdit"_s);
    BodyNumEdit = lineEdit(w, u"BodyNumEdit"_s);

    auto *number = new QHBoxLayout;
    number->addWidget(CaNumComBox);
    number->addWidget(CaNumEdit1);
    number->addWidget(CaNumEllipsisEdit);
    CaNumEllipsisButton = lookupButton(w, u"CaNumEllipsisButton"_s, u"かな文字の選択"_s);
    number->addWidget(CaNumEllipsisButton);
    number->addWidget(CaNumEdit2);
    number->addStretch(1);
    g->addWidget(caption(w, u"登録番号"_s), 0, 0);
    g->addLayout(number, 0, 1, 1, 3);
    g->addWidget(caption(w, u"車名"_s), 1, 0);
    auto *name = new QHBoxLayout;
    name->addWidget(CaNameEdit, 1);
    SpeedButton9 = lookupButton(w, u"SpeedButton9"_s, u"メーカー・車名の参照"_s);
    name->addWidget(SpeedButton9);
    g->addLayout(name, 1, 1, 1, 3);
    g->addWidget(caption(w, u"初度登録"_s), 2, 0);
    auto *first = new QHBoxLayout;
    first->addWidget(FirstWDateEdit);
    first->addWidget(FirstCheckBox);
    first->addStretch(1);
    g->addLayout(first, 2, 1);
    g->addWidget(caption(w, u"排気量"_s), 2, 2);
    auto *size = new QHBoxLayout;
    size->addWidget(ESizeNValEditC);
    size->addWidget(new QLabel(u"cc"_s, w));
    size->addStretch(1);
    g->addLayout(size, 2, 3);
    g->addWidget(caption(w, u"車検期限"_s), 3, 0);
    auto *check = new QHBoxLayout;
    check->addWidget(CheckWDateEdit);
    check->addWidget(CheckCheckBox);
    check->addStretch(1);
    g->addLayout(check, 3, 1);
    g->addWidget(caption(w, u"走行距離"_s), 3, 2);
    auto *kiro = new QHBoxLayout;
    kiro->addWidget(KiroNValEditC);
    kiro->addWidget(new QLabel(u"km"_s, w));
    kiro->addStretch(1);
    g->addLayout(kiro, 3, 3);
    g->addWidget(caption(w, u"型式"_s), 4, 0);
    g->addWidget(TypeCodeEdit, 4, 1);
    g->addWidget(caption(w, u"原動機型式"_s), 4, 2);
    g->addWidget(EngCodeEdit, 4, 3);
    g->addWidget(caption(w, u"型式指定番号"_s), 5, 0);
    g->addWidget(K1Edit, 5, 1);
    g->addWidget(caption(w, u"類別区分番号"_s), 5, 2);
    g->addWidget(K2Edit, 5, 3);
    g->addWidget(caption(w, u"車体番号"_s), 6, 0);
    g->addWidget(BodyNumEdit, 6, 1, 1, 3);
    g->setColumnStretch(1, 1);
    g->setColumnStretch(3, 1);
    s->innerLayout()->addWidget(vehiclePanel_);
    s->firstFocus = CarCheckBox;
}

void TSlipFrame::buildLines(SlipSection *s)
{
    auto *bar = new QWidget(s->inner());
    auto *h = new QHBoxLayout(bar);
    h->setContentsMargins(0, 0, 0, 0);
    RavorNValEditC = FloatEditAccess::make(bar, u"RavorNValEditC"_s, 0, 1000000, true);
    LineCntComBox = comboBox(bar, u"LineCntComBox"_s, false, {u"5行"_s, u"9行"_s});
    auto *search = new QPushButton(u"検索ウィンドウ"_s, bar);
    search->setObjectName(u"SpeedButton6"_s);
    connect(search, &QPushButton::clicked, this, &TSlipFrame::searchWindowRequested);
    h->addWidget(new QLabel(u"レバレート"_s, bar));
    h->addWidget(RavorNValEditC);
    h->addSpacing(24);
    h->addWidget(new QLabel(u"明細表示数"_s, bar));
    h->addWidget(LineCntComBox);
    h->addSpacing(24);
    h->addWidget(search);
    h->addStretch(1);
    s->innerLayout()->addWidget(bar);

    gridHost_ = new QWidget(s->inner());
    gridHost_->setObjectName(u"GridHost"_s);
    auto *gridLayout = new QVBoxLayout(gridHost_);
    gridLayout->setContentsMargins(0, 0, 0, 0);
    SlipGridFrame1 = new TSlipGridFrame(gridHost_);
    SlipGridFrame1->setObjectName(u"SlipGridFrame1"_s);
    gridLayout->addWidget(SlipGridFrame1);
    s->innerLayout()->addWidget(gridHost_, 1);

    // The labour and parts totals stand under the grid's labour and amount
    // columns; alignLineTotals() follows the columns when they move.
    lineTotalsBar_ = new QWidget(s->inner());
    lineTotalsBar_->setObjectName(u"LineTotalsBar"_s);
    TecNValLabel = FloatEditAccess::make(lineTotalsBar_, u"TecNValLabel"_s, 0, 100000000, true, true);
    PartNValLabel = FloatEditAccess::make(lineTotalsBar_, u"PartNValLabel"_s, 0, 100000000, true, true);
    for (QWidget *total : {static_cast<QWidget *>(TecNValLabel), static_cast<QWidget *>(PartNValLabel)}) {
        total->setMinimumWidth(0);
        total->setMaximumWidth(QWIDGETSIZE_MAX);
    }
    TecNValLabel->setToolTip(u"工賃合計"_s);
    PartNValLabel->setToolTip(u"部品合計"_s);
    lineTotalsCaption_ = new QLabel(u"合計"_s, lineTotalsBar_);
    lineTotalsCaption_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lineTotalsBar_->setFixedHeight(TecNValLabel->sizeHint().height() + 4);
    lineTotalsBar_->installEventFilter(this);
    connect(SlipGridFrame1->grid(), &SlipGridView::geometryChanged, this, &TSlipFrame::alignLineTotals);
    s->innerLayout()->addWidget(lineTotalsBar_);
    s->firstFocus = RavorNValEditC;
}

void TSlipFrame::buildCosts(SlipSection *s)
{
    // The statutory costs and the cost grid take this panel.
    auto *host = new QWidget(s->inner());
    host->setObjectName(u"CostHost"_s);
    auto *layout = new QVBoxLayout(host);
    layout->setContentsMargins(0, 0, 0, 0);
    costPanel_ = new TCostPanel(appDir_, messages_, host);
    layout->addWidget(costPanel_);
    s->innerLayout()->addWidget(host);
    s->firstFocus = costPanel_->firstControl();
}

void TSlipFrame::buildTotals(SlipSection *s)
{
    auto *host = new QWidget(s->inner());
    host->setObjectName(u"TotalsHost"_s);
    auto *layout = new QVBoxLayout(host);
    layout->setContentsMargins(0, 0, 0, 0);
    totalsPanel_ = new TTotalsPanel(host);
    layout->addWidget(totalsPanel_);
    s->innerLayout()->addWidget(host);
    s->firstFocus = totalsPanel_->firstControl();
}

void TSlipFrame::buildNotes(SlipSection *s)
{
    auto *w = new QWidget(s->inner());
    auto *g = new QGridLayout(w);
    g->setContentsMargins(0, 0, 0, 0);
    InfoEdit = lineEdit(w, u"InfoEdit"_s);
    NoteMemo = new QPlainTextEdit(w);
    NoteMemo->setObjectName(u"NoteMemo"_s);
    NoteMemo->setFixedHeight(NoteMemo->fontMetrics().lineSpacing() * 3 + 14);
    NoteMemo->setTabChangesFocus(true);
    g->addWidget(caption(w, u"挨拶文"_s), 0, 0);
    g->addWidget(InfoEdit, 0, 1);
    g->addWidget(caption(w, u"備考・メモ欄"_s), 1, 0, Qt::AlignTop | Qt::AlignRight);
    g->addWidget(NoteMemo, 1, 1);
    QToolButton *memoButton = lookupButton(w, u"MemoSpeedButton"_s, u"備考テンプレートの参照"_s);
    memoButton->setEnabled(true);
    connect(memoButton, &QToolButton::clicked, this, &TSlipFrame::MemoSpeedButtonClick);
    // Ctrl+Space in the note field opens the same lookup.
    NoteMemo->installEventFilter(this);
    g->addWidget(memoButton, 1, 2, Qt::AlignTop);
    g->setColumnStretch(1, 1);
    s->innerLayout()->addWidget(w);
    s->firstFocus = NoteMemo;
}

void TSlipFrame::alignLineTotals()
{
    const SlipGridView *view = SlipGridFrame1->grid();
    constexpr int LabourColumn = 4;
    constexpr int AmountColumn = 7;
    constexpr int Overhang = 23; // each total starts this far left of its column and is as much wider
    auto place = [&](QWidget *total, int column) {
        const QPoint at =
            lineTotalsBar_->mapFromGlobal(view->mapToGlobal(QPoint(view->columnLeft(column), 0)));
        const int left = at.x() - Overhang;
        total->setGeometry(left, 2, view->columnWidth(column) + Overhang, lineTotalsBar_->height() - 4);
    };
    place(TecNValLabel, LabourColumn);
    place(PartNValLabel, AmountColumn);
    lineTotalsCaption_->setGeometry(0, 2, TecNValLabel->x() - 6, lineTotalsBar_->height() - 4);
}
