// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "surface/fontchoice.h"

#ifdef TEILER_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#include <map>
#include <string>
#include <string_view>
#include <vector>
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

std::vector<Face> liberationFaces(FcConfig* config) {
    std::vector<Face> faces;
    FcPattern* any = FcPatternCreate();
    FcObjectSet* wanted = FcObjectSetBuild(FC_FAMILY, FC_FILE, FC_FONTVERSION, nullptr);
    FcFontSet* set = any && wanted ? FcFontList(config, any, wanted) : nullptr;
    for (int i = 0; set && i < set->nfont; ++i) {
        FcChar8* family = nullptr;
        FcChar8* file = nullptr;
        int version = 0;
        if (FcPatternGetString(set->fonts[i], FC_FAMILY, 0, &family) != FcResultMatch ||
            FcPatternGetString(set->fonts[i], FC_FILE, 0, &file) != FcResultMatch ||
            FcPatternGetInteger(set->fonts[i], FC_FONTVERSION, 0, &version) != FcResultMatch)
            continue;
        const std::string_view name(reinterpret_cast<const char*>(family));
        if (name.starts_with("Liberation "))
            faces.push_back({std::string(name), reinterpret_cast<const char*>(file),
                             version >> 16}); // 16.16 fixed point
    }
    if (set)
        FcFontSetDestroy(set);
    if (wanted)
        FcObjectSetDestroy(wanted);
    if (any)
        FcPatternDestroy(any);
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
    FcConfig* chosen = FcInitLoadConfigAndFonts();
    if (!chosen)
        return;
    const std::string rejection = rejectionOfOlderFaces(liberationFaces(chosen));
    if (!rejection.empty()) {
        // rejectfont acts only while the fonts are gathered, so the files and the cache are read
        // once more under the system's configuration with the rejection added to it. Should that
        // fail, every face stays as before.
        FcConfig* pruned = FcInitLoadConfig();
        if (pruned &&
            FcConfigParseAndLoadFromMemory(
                pruned, reinterpret_cast<const FcChar8*>(rejection.c_str()), FcTrue) &&
            FcConfigBuildFonts(pruned)) {
            FcConfigDestroy(chosen);
            chosen = pruned;
        } else if (pruned) {
            FcConfigDestroy(pruned);
        }
    }
    // fontconfig reloads the system's configuration when it sees font folders change; that would
    // bring the hidden faces back within a run.
    FcConfigSetRescanInterval(chosen, 0);
    // The reference from loading is kept for the whole run: Qt releases the current
    // configuration when its application object goes, and fontconfig, left without one, would
    // load the system's again for the next (the --zoom probe comes before the window's).
    FcConfigSetCurrent(chosen);
#endif
}

} // namespace surface
