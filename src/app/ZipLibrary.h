#pragma once

#include <QString>

#include <zip.h>

// libzip, loaded when an archive is first made or read. Linking it would load
// it with its crypto and compression libraries into every start of the
// program, and thousands of their symbols would be bound before the window
// shows; backups are made once a day and restored rarely.
struct ZipLibrary {
    decltype(&::zip_open) open = nullptr;
    decltype(&::zip_close) close = nullptr;
    decltype(&::zip_discard) discard = nullptr;
    decltype(&::zip_strerror) strerror = nullptr;
    decltype(&::zip_error_init_with_code) errorInitWithCode = nullptr;
    decltype(&::zip_error_strerror) errorStrerror = nullptr;
    decltype(&::zip_error_fini) errorFini = nullptr;
    decltype(&::zip_source_buffer) sourceBuffer = nullptr;
    decltype(&::zip_source_free) sourceFree = nullptr;
    decltype(&::zip_file_add) fileAdd = nullptr;
    decltype(&::zip_get_num_entries) getNumEntries = nullptr;
    decltype(&::zip_get_name) getName = nullptr;
    decltype(&::zip_stat_index) statIndex = nullptr;
    decltype(&::zip_fopen_index) fopenIndex = nullptr;
    decltype(&::zip_fread) fread = nullptr;
    decltype(&::zip_fclose) fclose = nullptr;

    // The library with every function bound, loaded once per process; null
    // with the loader's reason in *error when it cannot be had.
    static const ZipLibrary *get(QString *error);

    // The text of a libzip error code.
    QString reason(int code) const;
};
