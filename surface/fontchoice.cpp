// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "surface/fontchoice.h"

#ifdef TEILER_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>
#else
#include <QFont>
#endif

namespace surface {

#ifdef TEILER_HAVE_FONTCONFIG
namespace {

// The family name fontconfig gives first, the file and the major version from the font's head
// table.
struct Face {
    std::string family;
    std::string file;
    int major = 0;
};

// The Liberation faces of one folder's font set.
void addLiberationFaces(const FcFontSet& set, std::vector<Face>& faces) {
    for (int i = 0; i < set.nfont; ++i) {
        FcChar8* family = nullptr;
        FcChar8* file = nullptr;
        int version = 0;
        if (FcPatternGetString(set.fonts[i], FC_FAMILY, 0, &family) != FcResultMatch ||
            FcPatternGetString(set.fonts[i], FC_FILE, 0, &file) != FcResultMatch ||
            FcPatternGetInteger(set.fonts[i], FC_FONTVERSION, 0, &version) != FcResultMatch)
            continue;
        const std::string_view name(reinterpret_cast<const char*>(family));
        if (name.starts_with("Liberation "))
            faces.push_back({std::string(name), reinterpret_cast<const char*>(file),
                             version >> 16}); // 16.16 fixed point
    }
}

// The Liberation faces in the font folders a loaded configuration names, and in their
// subfolders, read from fontconfig's cache of each folder (made where it is missing). A font list
// would need the configuration's fonts built, and the rejection can only be added before that:
// building twice means reading the whole configuration twice, the larger part of start-up.
std::vector<Face> liberationFaces(FcConfig* config) {
    std::vector<Face> faces;
    std::vector<std::string> folders;
    std::set<std::string> seen;
    if (FcStrList* dirs = FcConfigGetFontDirs(config)) {
        while (const FcChar8* dir = FcStrListNext(dirs))
            folders.emplace_back(reinterpret_cast<const char*>(dir));
        FcStrListDone(dirs);
    }
    while (!folders.empty()) {
        const std::string folder = std::move(folders.back());
        folders.pop_back();
        if (!seen.insert(folder).second)
            continue;
        FcCache* cache =
            FcDirCacheRead(reinterpret_cast<const FcChar8*>(folder.c_str()), FcFalse, config);
        if (!cache)
            continue;
        for (int i = 0; i < FcCacheNumSubdir(cache); ++i)
            folders.emplace_back(reinterpret_cast<const char*>(FcCacheSubdir(cache, i)));
        if (FcFontSet* set = FcCacheCopySet(cache)) {
            addLiberationFaces(*set, faces);
            FcFontSetDestroy(set);
        }
        FcDirCacheUnload(cache);
    }
    return faces;
}

// A file name as the text of an XML element.
std::string escaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// Configuration text that rejects the files of the faces that have a version 2 beside them; empty
// when there are none. A file's own name, taken as a glob, matches that file.
std::string rejectionOfOlderFaces(const std::vector<Face>& faces) {
    std::map<std::string, bool> hasVersion2;
    for (const Face& f : faces)
        hasVersion2[f.family] = hasVersion2[f.family] || f.major == 2;
    std::string globs;
    for (const Face& f : faces)
        if (f.major != 2 && hasVersion2[f.family])
            globs += "<glob>" + escaped(f.file) + "</glob>";
    if (globs.empty())
        return {};
    return "<?xml version=\"1.0\"?><fontconfig><selectfont><rejectfont>" + globs +
           "</rejectfont></selectfont></fontconfig>";
}

} // namespace
#endif

void FontChoice::PreferLiberation2() {
#ifdef TEILER_HAVE_FONTCONFIG
    FcConfig* chosen = FcInitLoadConfig();
    if (!chosen)
        return;
    // rejectfont acts only while the fonts are gathered, so it joins the configuration before its
    // fonts are built. Should that fail, the system's configuration is taken as it is.
    const std::string rejection = rejectionOfOlderFaces(liberationFaces(chosen));
    if (!rejection.empty() &&
        !FcConfigParseAndLoadFromMemory(chosen, reinterpret_cast<const FcChar8*>(rejection.c_str()),
                                        FcTrue)) {
        FcConfigDestroy(chosen);
        chosen = FcInitLoadConfig();
        if (!chosen)
            return;
    }
    if (!FcConfigBuildFonts(chosen)) {
        FcConfigDestroy(chosen);
        return;
    }
    // fontconfig reloads the system's configuration when it sees font folders change; that would
    // bring the hidden faces back within a run.
    FcConfigSetRescanInterval(chosen, 0);
    // The reference from loading is kept for the whole run: Qt releases the current
    // configuration when its application object goes, and fontconfig, left without one, would
    // load the system's again for the next (the --zoom probe comes before the window's).
    FcConfigSetCurrent(chosen);
#else
    // Without fontconfig nothing maps the faces the window is laid out in to their metric twins;
    // where a system lacks them (Qt's own font folder, as offscreen on Windows), the twins stand
    // in. A face that is installed is always taken before its substitutes.
    QFont::insertSubstitution(QStringLiteral("Times New Roman"),
                              QStringLiteral("Liberation Serif"));
    QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
#endif
}

} // namespace surface
