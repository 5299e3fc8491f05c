#include "dialog_template.h"

#include "text1252.h"

namespace {

class ByteWriter {
public:
    void Word(std::uint16_t v) {
        bytes_.push_back(static_cast<unsigned char>(v));
        bytes_.push_back(static_cast<unsigned char>(v >> 8));
    }
    void Dword(std::uint32_t v) {
        Word(static_cast<std::uint16_t>(v));
        Word(static_cast<std::uint16_t>(v >> 16));
    }
    void Byte(std::uint8_t v) { bytes_.push_back(v); }
    // Zero-terminated UTF-16.
    void Text(std::string_view text1252) {
        for (char16_t unit : cp1252::Widen(text1252)) Word(unit);
        Word(0);
    }
    void AlignDword() {
        while (bytes_.size() % 4 != 0) bytes_.push_back(0);
    }
    const std::vector<unsigned char>& Bytes() const { return bytes_; }

private:
    std::vector<unsigned char> bytes_;
};

}  // namespace

DialogTemplate& DialogTemplate::Add(DialogControl control) {
    controls_.push_back(std::move(control));
    return *this;
}

std::vector<unsigned char> DialogTemplate::Build() const {
    ByteWriter w;
    w.Word(1);       // dlgVer
    w.Word(0xFFFF);  // signature: extended template
    w.Dword(0);      // helpID
    w.Dword(frame_.exStyle);
    w.Dword(frame_.style | DsSetFont);
    w.Word(static_cast<std::uint16_t>(controls_.size()));
    w.Word(static_cast<std::uint16_t>(frame_.x));
    w.Word(static_cast<std::uint16_t>(frame_.y));
    w.Word(static_cast<std::uint16_t>(frame_.cx));
    w.Word(static_cast<std::uint16_t>(frame_.cy));
    w.Word(0);  // no menu
    w.Word(0);  // the standard dialog class
    w.Text(frame_.caption);
    w.Word(frame_.font.points);
    w.Word(frame_.font.weight);
    w.Byte(frame_.font.italic ? 1 : 0);
    w.Byte(frame_.font.charset);
    w.Text(frame_.font.face);

    for (const DialogControl& c : controls_) {
        w.AlignDword();
        w.Dword(0);  // helpID
        w.Dword(c.exStyle);
        w.Dword(c.style);
        w.Word(static_cast<std::uint16_t>(c.x));
        w.Word(static_cast<std::uint16_t>(c.y));
        w.Word(static_cast<std::uint16_t>(c.cx));
        w.Word(static_cast<std::uint16_t>(c.cy));
        w.Dword(c.id);
        w.Word(0xFFFF);
        w.Word(static_cast<std::uint16_t>(c.cls));
        w.Text(c.caption);
        w.Word(0);  // no creation data
    }

    return w.Bytes();
}
