#include "engine/inflater.h"

#include <atomic>

namespace quorbin {
namespace {

#ifdef QUORBIN_HAVE_ISAL
std::atomic<InflaterKind> chosen{InflaterKind::Isal};
#else
std::atomic<InflaterKind> chosen{InflaterKind::Zlib};
#endif

}  // namespace

bool useInflater(InflaterKind kind)
{
#ifndef QUORBIN_HAVE_ISAL
    if (kind == InflaterKind::Isal)
        return false;
#endif
    chosen = kind;
    return true;
}

Inflater& threadInflater()
{
    thread_local std::unique_ptr<Inflater> isal;
    thread_local std::unique_ptr<Inflater> zlib;
    std::unique_ptr<Inflater>& mine = chosen == InflaterKind::Isal ? isal : zlib;
    if (!mine)
        mine = chosen == InflaterKind::Isal ? makeIsalInflater() : makeZlibInflater();
    mine->reset();
    return *mine;
}

}  // namespace quorbin
