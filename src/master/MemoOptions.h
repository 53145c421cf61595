#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

// The stock texts of the slip header: a greeting per slip kind (見積書,
// 作業指示書, 納品書) and note templates of three lines each. One file holds
// both: line 0 the greetings, every further line one note template, all as
// comma text.
struct MemoOptions {
    static constexpr int GreetingCount = 3;
    static constexpr int NoteLines = 3;
    // A file without note templates leaves this many empty ones to fill in.
    static constexpr int InitialNoteRows = 4;

    using Note = std::array<QString, NoteLines>;

    std::array<QString, GreetingCount> greetings;
    QList<Note> notes;

    // The file's content; a missing or unreadable file gives empty greetings
    // and no notes, *ok tells it apart.
    static MemoOptions read(const QString &path, bool *ok = nullptr);
    // The file's lines (line 0 the greetings).
    QStringList lines() const;
    // Replaces the file; false with a reason when it cannot be written.
    bool write(const QString &path, QString *error = nullptr) const;
};
