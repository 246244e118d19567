#include "announcements.h"

#include "catalogue.h"

namespace {
const catalogue::Line* const kAnnouncements[] = {
    /* 3 */ &catalogue::EncontrarPuertaCen,
    /* 4 */ &catalogue::EncontrarPuertaIzq,
    /* 5 */ &catalogue::EncontrarPuertaDer,
    /* 6 */ nullptr,
    /* 7 */ &catalogue::RecargaBalasIzq,
    /* 8 */ &catalogue::RecargaBalasCen,
    /* 9 */ &catalogue::RecargaBalasDer,
    /* 10 */ &catalogue::MonstruoIzq,
    /* 11 */ &catalogue::MonstruoCen,
    /* 12 */ &catalogue::MonstruoDer,
    /* 13 */ &catalogue::MutanteIzq,
    /* 14 */ &catalogue::MutanteCen,
    /* 15 */ &catalogue::MutanteDer,
    /* 16 */ &catalogue::SuperMonstruoIzq,
    /* 17 */ &catalogue::SuperMonstruoCen,
    /* 18 */ &catalogue::SuperMonstruoDer,
};
}

Announcement announcementFor(int32_t kind)
{
    if (kind < 3 || kind > 18)
        return {nullptr, nullptr};
    const catalogue::Line* line = kAnnouncements[kind - 3];
    return line ? Announcement{line->file, line->written} : Announcement{nullptr, nullptr};
}
