#pragma once

#include "master/MemoOptions.h"

#include <QTableWidget>

// The note-template grid of the memo dialogs: one row of height 50 per
// template, the three lines in three columns, whole rows selected. Every
// cell shows all three lines of its row, so a grid that shows only its first
// column still shows whole templates.
class TMemoGrid : public QTableWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TMemoGrid)
public:
    static constexpr int RowHeight = 50;

    explicit TMemoGrid(QWidget *parent = nullptr);

    // Only the first column shows, across the whole grid; it carries the
    // whole template.
    void showFirstColumnOnly();

    // Replaces the rows; an empty list keeps InitialNoteRows empty rows.
    void setNotes(const QList<MemoOptions::Note> &notes);
    QList<MemoOptions::Note> notes() const;
    MemoOptions::Note note(int row) const;
    void setNote(int row, const MemoOptions::Note &note);
    void appendNote(const MemoOptions::Note &note);
};
