#pragma once

#include <QString>
#include <QStringList>

// The line categories (区分) with their type codes, in file order. Type code
// "3" marks a discount category, "4" a subtotal category.
class LineCategoryList {
public:
    static inline const QString DiscountCode = QStringLiteral("3");
    static inline const QString SubtotalCode = QStringLiteral("4");

    LineCategoryList() = default;
    // Each line: comma text with the name in field 0 and the type code in field 1.
    static LineCategoryList fromLines(const QStringList &lines);
    // Reads Dat/Mst/LineDiv.dat (or any such file); a missing file gives an empty list.
    static LineCategoryList load(const QString &path);

    const QStringList &names() const { return names_; }
    const QStringList &codes() const { return codes_; }
    // The code at the position of name in the list; empty when name is not listed.
    QString typeCodeOf(const QString &name) const;
    bool isDiscount(const QString &name) const { return typeCodeOf(name) == DiscountCode; }
    bool isSubtotal(const QString &name) const { return typeCodeOf(name) == SubtotalCode; }

private:
    QStringList names_;
    QStringList codes_;
};
