#pragma once

#include <QDialog>

#include <optional>

class QTableWidget;

// "かな文字選択": the hiragana table, one kana row per column (あ, か, さ …
// わ), from which the kana of a registration number is picked by a click or
// Enter. Esc cancels.
class TaiueoForm : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TaiueoForm)
public:
    static constexpr int Columns = 10;
    static constexpr int Rows = 5;

    explicit TaiueoForm(QWidget *parent = nullptr);

    // The picked kana; empty for a gap of the や and わ rows.
    QString kana() const { return kana_; }
    // Places the picker under field, right edges aligned.
    void placeUnder(const QWidget *field);

    // Shows the picker under field modally; the kana on OK.
    static std::optional<QString> pick(QWidget *field);

    QTableWidget *StringGrid1;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void pickCell(int row, int column);

    QString kana_;
};
