#include "ProfileGenerator.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string_view>

namespace fs = std::filesystem;

namespace korvale::bench {

namespace {

// The game's names for the 256 input keys; the unnamed ones are "Unknown" and their number.
constexpr std::string_view kNamedKeys[] = {"None",
                                           "LeftMouse",
                                           "RightMouse",
                                           "Cancel",
                                           "MiddleMouse",
                                           "Backspace",
                                           "Tab",
                                           "Enter",
                                           "Shift",
                                           "Ctrl",
                                           "Alt",
                                           "Pause",
                                           "CapsLock",
                                           "Escape",
                                           "Space",
                                           "PageUp",
                                           "PageDown",
                                           "End",
                                           "Home",
                                           "Left",
                                           "Up",
                                           "Right",
                                           "Down",
                                           "Select",
                                           "Print",
                                           "Execute",
                                           "PrintScrn",
                                           "Insert",
                                           "Delete",
                                           "Help",
                                           "0",
                                           "1",
                                           "2",
                                           "3",
                                           "4",
                                           "5",
                                           "6",
                                           "7",
                                           "8",
                                           "9",
                                           "A",
                                           "B",
                                           "C",
                                           "D",
                                           "E",
                                           "F",
                                           "G",
                                           "H",
                                           "I",
                                           "J",
                                           "K",
                                           "L",
                                           "M",
                                           "N",
                                           "O",
                                           "P",
                                           "Q",
                                           "R",
                                           "S",
                                           "T",
                                           "U",
                                           "V",
                                           "W",
                                           "X",
                                           "Y",
                                           "Z",
                                           "NumPad0",
                                           "NumPad1",
                                           "NumPad2",
                                           "NumPad3",
                                           "NumPad4",
                                           "NumPad5",
                                           "NumPad6",
                                           "NumPad7",
                                           "NumPad8",
                                           "NumPad9",
                                           "GreyStar",
                                           "GreyPlus",
                                           "Separator",
                                           "GreyMinus",
                                           "NumPadPeriod",
                                           "GreySlash",
                                           "F1",
                                           "F2",
                                           "F3",
                                           "F4",
                                           "F5",
                                           "F6",
                                           "F7",
                                           "F8",
                                           "F9",
                                           "F10",
                                           "F11",
                                           "F12",
                                           "F13",
                                           "F14",
                                           "F15",
                                           "F16",
                                           "F17",
                                           "F18",
                                           "F19",
                                           "F20",
                                           "F21",
                                           "F22",
                                           "F23",
                                           "F24",
                                           "NumLock",
                                           "ScrollLock",
                                           "LShift",
                                           "RShift",
                                           "LControl",
                                           "RControl",
                                           "Tilde",
                                           "Joy1",
                                           "Joy2",
                                           "Joy3",
                                           "Joy4",
                                           "MouseX",
                                           "MouseY",
                                           "MouseZ",
                                           "MouseW",
                                           "MouseWheelUp",
                                           "MouseWheelDown",
                                           "Attn",
                                           "CrSel",
                                           "ExSel",
                                           "ErEof",
                                           "Play",
                                           "Zoom",
                                           "NoName",
                                           "PA1",
                                           "OEMClear"};

std::string_view BindingFor(std::string_view key) {
    if (key == "LeftMouse")
        return "Fire";
    if (key == "RightMouse")
        return "AltFire";
    if (key == "Space")
        return "Jump";
    if (key == "Up" || key == "W")
        return "MoveForward";
    if (key == "Down" || key == "S")
        return "MoveBackward";
    if (key == "A")
        return "StrafeLeft";
    if (key == "D")
        return "StrafeRight";
    if (key == "Enter")
        return "InputBox";
    if (key == "T")
        return "Talk";
    if (key == "F1")
        return "ShowScores";
    if (key == "MouseX")
        return "Count bXAxis | Axis aMouseX Speed=6.0";
    if (key == "MouseY")
        return "Count bYAxis | Axis aMouseY Speed=6.0";
    if (key == "MouseWheelUp")
        return "PrevWeapon";
    if (key == "MouseWheelDown")
        return "NextWeapon";
    if (key == "Escape")
        return "ShowMenu";
    if (key.size() == 1 && key[0] >= '0' && key[0] <= '9')
        return "SwitchWeapon";
    return "";
}

void Line(std::string& out, std::string_view text) {
    out += text;
    out += "\r\n";
}

}  // namespace

std::string RealisticProfile() {
    std::string out;
    out.reserve(26 * 1024);
    Line(out, "[DefaultPlayer]");
    Line(out, "Name=Player");
    Line(out, "Class=BotPack.TMale1");
    Line(out, "team=255");
    Line(out, "skin=CommandoSkins.cmdo");
    Line(out, "Face=CommandoSkins.Blake");
    Line(out, "Voice=BotPack.VoiceMaleTwo");
    Line(out, "OverrideClass=");
    Line(out, "");
    Line(out, "[Engine.Input]");
    for (int alias = 0; alias < 40; ++alias) {
        static constexpr std::array<std::string_view, 8> kCommands = {"Button bFire | Fire",
                                                                      "Button bAltFire | AltFire",
                                                                      "Axis aBaseY  Speed=+300.0",
                                                                      "Axis aStrafe Speed=-300.0",
                                                                      "Button bSnapLevel",
                                                                      "Button bRun",
                                                                      "Button bDuck",
                                                                      "Button bLook"};
        Line(out, "Aliases[" + std::to_string(alias) + "]=(Command=\"" +
                      std::string(kCommands[static_cast<std::size_t>(alias) % kCommands.size()]) +
                      "\",Alias=Action" + std::to_string(alias) + ")");
    }
    for (int key = 0; key < 256; ++key) {
        const std::size_t index = static_cast<std::size_t>(key);
        const std::string name = index < std::size(kNamedKeys) ? std::string(kNamedKeys[index])
                                                               : "Unknown" + std::to_string(key);
        Line(out, name + "=" + std::string(BindingFor(name)));
    }
    Line(out, "");
    Line(out, "[Engine.PlayerPawn]");
    Line(out, "bLookUpStairs=False");
    Line(out, "bSnapToLevel=False");
    Line(out, "bAlwaysMouseLook=True");
    Line(out, "bKeyboardLook=True");
    Line(out, "bMaxMouseSmoothing=False");
    Line(out, "bNoFlash=False");
    Line(out, "bNoVoices=False");
    Line(out, "bMessageBeep=True");
    Line(out, "MouseSensitivity=3.000000");
    Line(out, "WeaponPriority[0]=Translocator");
    for (int weapon = 1; weapon < 20; ++weapon) {
        Line(out, "WeaponPriority[" + std::to_string(weapon) + "]=Botpack.Weapon" +
                      std::to_string(weapon));
    }
    Line(out, "DodgeClickTime=0.250000");
    Line(out, "Bob=0.016000");
    Line(out, "DesiredFOV=90.000000");
    Line(out, "ngWorldSecret=a1b2c3d4");
    Line(out, "ngSecretSet=True");
    Line(out, "bNeverAutoSwitch=False");
    // The rest of a played-in profile: server favourites, menus and mutator settings, some
    // hand-edited with stray spaces.
    for (int section = 0; out.size() < 25 * 1024 - 600; ++section) {
        const std::string number = std::to_string(section);
        Line(out, "");
        Line(out, "[UBrowser.UBrowserFavoritesFact" + number + "]");
        for (int favourite = 0; favourite < 8; ++favourite) {
            const std::string index = std::to_string(favourite);
            Line(out, "Favorites[" + index + "]=(ServerName=\"Clan Server " + number + "." + index +
                          "\",ServerIP=\"10.0." + number + "." + index +
                          "\",ServerPort=7777,bDontExport=False)");
        }
        Line(out, "  FavoriteCount=8  ");
        Line(out, "bShowFailedServers=False");
    }
    return out;
}

void WriteProfile(const fs::path& file, std::uint64_t bytes) {
    const std::string profile = RealisticProfile();
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    for (std::uint64_t written = 0; written < bytes; written += profile.size()) {
        out.write(profile.data(), static_cast<std::streamsize>(profile.size()));
    }
    if (!out.flush()) {
        throw std::runtime_error("cannot write " + file.string());
    }
}

void WriteUtf16LeProfile(const fs::path& file, std::uint64_t bytes) {
    std::u16string text;
    for (const char c : RealisticProfile()) {
        text.push_back(static_cast<unsigned char>(c));
    }
    text +=
        u"[UBrowser.UBrowserFavoritesFactRU]\r\n"
        u"Favorites[0]=(ServerName=\"\u0421\u0435\u0440\u0432\u0435\u0440 \u6F22\u5B57 "
        u"\U0001F600\",ServerIP=\"10.1.0.1\",ServerPort=7777,bDontExport=False)\r\n";
    std::string profile;
    for (const char16_t unit : text) {
        profile.push_back(static_cast<char>(unit & 0xFF));
        profile.push_back(static_cast<char>(unit >> 8));
    }
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write("\xFF\xFE", 2);
    for (std::uint64_t written = 2; written < bytes; written += profile.size()) {
        out.write(profile.data(), static_cast<std::streamsize>(profile.size()));
    }
    if (!out.flush()) {
        throw std::runtime_error("cannot write " + file.string());
    }
}

void WritePlayerFile(const fs::path& file, std::size_t records) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    std::string chunk;
    for (std::size_t record = 0; record < records; ++record) {
        if (record > 0) {
            chunk += "\r\n";
        }
        chunk += "Player" + std::to_string(record) + ",secret" + std::to_string(record * 7919);
        if (chunk.size() > 1 << 20) {
            out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
            chunk.clear();
        }
    }
    out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    if (!out.flush()) {
        throw std::runtime_error("cannot write " + file.string());
    }
}

void WriteBytes(const fs::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
        throw std::runtime_error("cannot write " + file.string());
    }
}

fs::path CachedProfile(std::uint64_t bytes) {
    const fs::path folder = fs::temp_directory_path() / "korvale-bench";
    fs::create_directories(folder);
    const fs::path file = folder / ("profile-" + std::to_string(bytes) + ".ini");
    std::error_code error;
    const auto size = fs::file_size(file, error);
    if (error || size < bytes) {
        const fs::path partial = file.string() + ".part";
        WriteProfile(partial, bytes);
        fs::rename(partial, file);
    }
    return file;
}

}  // namespace korvale::bench
