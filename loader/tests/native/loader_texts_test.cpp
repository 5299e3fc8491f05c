// The loader's messages, help, status report, atom-name times and font descriptions.
#include <gtest/gtest.h>

#include "font_cache.h"
#include "loader_texts.h"

TEST(LoaderTexts, CaptionsTitlesAndTheLoadedMessage) {
    EXPECT_EQ(MainCaption, "Desde aqui todas tus contrase\xF1" "as ...");
    EXPECT_EQ(LoginCaption, "Acceda con su contrase\xF1" "a ...");
    EXPECT_EQ(PlainTitle, "...");
    EXPECT_EQ(LoadTitle, "Programador ...");
    EXPECT_EQ(StatusTitle, "Status for all items");
    EXPECT_EQ(LoadedText, "Ya he cargado, GRACIAS!!!");
}

TEST(LoaderTexts, LengthMessageHasTheCountOnItsOwnLine) {
    EXPECT_EQ(LengthText(12), "El n\xBA de caracteres del password es :\r\n12 digitos ...");
    EXPECT_EQ(LengthText(0), "El n\xBA de caracteres del password es :\r\n0 digitos ...");
}

TEST(LoaderTexts, StatusReportWritesBlankBeforeNonNegativeNumbers) {
    EXPECT_EQ(StatusReportText({}), "");
    EXPECT_EQ(StatusReportText({0, 1}), "Item 1 =  0\r\nItem 2 =  1\r\n");
    EXPECT_EQ(StatusReportText({-1}), "Item 1 = -1\r\n");
    const std::string many = StatusReportText(std::vector<std::int32_t>(10, 0));
    EXPECT_EQ(many.substr(many.rfind("Item")), "Item 10 =  0\r\n");
    // Its box has the information icon and is task-modal; the load's closing box is topmost.
    EXPECT_EQ(BoxStyle::Information, 0x2040u);
    EXPECT_EQ(BoxStyle::TopMost, 0x40000u);
}

TEST(LoaderTexts, HelpIsNineteenLinesWithTwoEmptyOnes) {
    const std::string lines[] = {
        "Este programa es complementario del programa Claverix",
        "Su funcion es cargar en el listbox los ficheros con extension \".sclav\" ",
        "Suponemos que estos ficheros han sido generados por Claverix y despu\xE9s Sellomar",
        "y que en su interior guardamos contrase\xF1" "as o passwords de programas y webs concretas",
        "de tal manera que al hacer dobleclick en una linea del listbox o fichero ",
        "estamos cargando el contenido de dicho fichero en el clipboard",
        "para asi poder pastear directamente donde nos lo solicitan",
        "y poder acceder a nuestros programas y webs favoritos ...",
        "teniendo todos los passwords en este programa cargados y preparados ",
        "para pastearlos cuando haga falta, haciendo dobleclick en listbox ",
        "",
        "Tiene cinco funciones de teclado rapido :",
        "ALT + P = Oculta y visualiza el dialogo ",
        "ALT + N = Mete en el Clipboard el nombre de fichero (Claverix)",
        "ALT + B = Borra el contenido del clipboard ",
        "ALT + R = Mete en el Clipboard la contrase\xF1" "a",
        "ALT + L = Mide la cantidad de caracteres del password",
        "",
        "Que lo disfruten ....     (c) Velmor Soft",
    };
    // Joined by line breaks, none after the last line.
    std::string expected = lines[0];
    for (std::size_t i = 1; i < std::size(lines); ++i) expected += "\r\n" + lines[i];
    EXPECT_EQ(HelpText(), expected);
}

TEST(LoaderTexts, TimeOfDayWrittenAsANumberWithoutTrailingZeros) {
    struct Case {
        int seconds, milliseconds;
        const char* text;
    } cases[] = {
        {43200, 123, " 43200.123"}, {43200, 120, " 43200.12"}, {43200, 500, " 43200.5"},
        {7, 0, " 7"},               {0, 0, " 0"},              {86399, 9, " 86399.009"},
    };
    for (const Case& c : cases) EXPECT_EQ(TimeOfDayText(c.seconds, c.milliseconds), c.text);
}

TEST(LoaderTexts, FontDescriptionRoundTrips) {
    FontFields list{"Tahoma", 9, 1, 0, 1, 0};
    EXPECT_EQ(FontDescription(list), "Tahoma,9,1,0,1,0");
    auto parsed = ParseFontDescription("MS Sans Serif,14,1,0,0,1");
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(parsed->face, "MS Sans Serif");
    EXPECT_EQ(parsed->size, 14);
    EXPECT_EQ(parsed->bold, 1);
    EXPECT_EQ(parsed->strikeOut, 1);
}

TEST(LoaderTexts, MalformedFontDescriptionsAreRefused) {
    for (const char* bad : {"Tahoma", "Tahoma,9,1,0,1", "Tahoma,9,1,0,1,0,0", "Tahoma,nueve,1,0,1,0", "Tahoma,9,,0,1,0",
                            "Tahoma,9 ,1,0,1,0"}) {
        EXPECT_FALSE(ParseFontDescription(bad).has_value()) << bad;
    }
}

TEST(LoaderTexts, FontDescriptionsCompareWithoutLetterCase) {
    EXPECT_TRUE(SameFontDescription("Tahoma,9,1,0,1,0", "TAHOMA,9,1,0,1,0"));
    EXPECT_FALSE(SameFontDescription("Tahoma,9,1,0,1,0", "Tahoma,9,1,0,0,0"));
}

TEST(FontCache, OneFontPerDescriptionWhateverTheCase) {
    FontCache<int> cache;
    EXPECT_FALSE(cache.Find("Tahoma,9,1,0,1,0").has_value());
    cache.Add("Tahoma,9,1,0,1,0", 7);
    cache.Add("Arial,9,1,0,1,0", 8);
    EXPECT_EQ(cache.Find("tahoma,9,1,0,1,0"), 7);
    EXPECT_EQ(cache.Find("Arial,9,1,0,1,0"), 8);
    EXPECT_FALSE(cache.Find("Tahoma,10,1,0,1,0").has_value());
    cache.Clear();
    EXPECT_EQ(cache.Size(), 0u);
    EXPECT_FALSE(cache.Find("Arial,9,1,0,1,0").has_value());
}
