// Writes in-memory dialog templates (the extended DLGTEMPLATEEX layout) so that every dialog of the suite is
// built in code. Pure byte writing: no Win32 call, so the layout is checked natively byte for byte.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Predefined control classes, as the template names them by ordinal.
enum class ControlClass : std::uint16_t {
    Button = 0x0080,
    Edit = 0x0081,
    Static = 0x0082,
    ListBox = 0x0083,
};

struct DialogFont {
    std::string face = "MS Sans Serif";  // Windows-1252
    std::uint16_t points = 8;
    std::uint16_t weight = 700;
    bool italic = false;
    std::uint8_t charset = 0;
};

struct DialogFrame {
    std::string caption;  // Windows-1252
    std::uint32_t style = 0;  // DS_SETFONT is added by the writer
    std::uint32_t exStyle = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;  // dialog units
    DialogFont font;
};

struct DialogControl {
    std::uint32_t id = 0;
    ControlClass cls = ControlClass::Static;
    std::string caption;  // Windows-1252
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;
};

constexpr std::uint32_t DsSetFont = 0x40;

class DialogTemplate {
public:
    explicit DialogTemplate(DialogFrame frame) : frame_(std::move(frame)) {}
    DialogTemplate& Add(DialogControl control);

    // The template bytes, items DWORD-aligned relative to the start. The dialog manager also wants the
    // start itself DWORD-aligned: the Win32 side copies the bytes into 32-bit words.
    std::vector<unsigned char> Build() const;
    std::size_t ControlCount() const { return controls_.size(); }

private:
    DialogFrame frame_;
    std::vector<DialogControl> controls_;
};
