#include "ZipLibrary.h"

#include <dlfcn.h>

using namespace Qt::StringLiterals;

namespace {

template <typename F> bool bind(void *handle, const char *name, F *target)
{
    *target = reinterpret_cast<F>(dlsym(handle, name));
    return *target != nullptr;
}

struct Loaded {
    ZipLibrary library;
    QString error; // empty when library is usable
};

Loaded load()
{
    Loaded loaded;
    // The versioned name first: that is what the runtime package installs.
    void *handle = dlopen("libzip.so.4", RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        handle = dlopen("libzip.so", RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        loaded.error = u"libzip を読み込めません: "_s + QString::fromLocal8Bit(dlerror());
        return loaded;
    }
    ZipLibrary &z = loaded.library;
    const bool ok =
        bind(handle, "zip_open", &z.open) && bind(handle, "zip_close", &z.close) &&
        bind(handle, "zip_discard", &z.discard) && bind(handle, "zip_strerror", &z.strerror) &&
        bind(handle, "zip_error_init_with_code", &z.errorInitWithCode) &&
        bind(handle, "zip_error_strerror", &z.errorStrerror) &&
        bind(handle, "zip_error_fini", &z.errorFini) && bind(handle, "zip_source_buffer", &z.sourceBuffer) &&
        bind(handle, "zip_source_free", &z.sourceFree) && bind(handle, "zip_file_add", &z.fileAdd) &&
        bind(handle, "zip_get_num_entries", &z.getNumEntries) && bind(handle, "zip_get_name", &z.getName) &&
        bind(handle, "zip_stat_index", &z.statIndex) && bind(handle, "zip_fopen_index", &z.fopenIndex) &&
        bind(handle, "zip_fread", &z.fread) && bind(handle, "zip_fclose", &z.fclose);
    if (!ok)
        loaded.error = u"libzip の版が合いません: "_s + QString::fromLocal8Bit(dlerror());
    // The handle stays open for the life of the process.
    return loaded;
}

} // namespace

const ZipLibrary *ZipLibrary::get(QString *error)
{
    static const Loaded loaded = load();
    if (!loaded.error.isEmpty()) {
        if (error)
            *error = loaded.error;
        return nullptr;
    }
    return &loaded.library;
}

QString ZipLibrary::reason(int code) const
{
    zip_error_t e;
    errorInitWithCode(&e, code);
    const QString text = QString::fromUtf8(errorStrerror(&e));
    errorFini(&e);
    return text;
}
