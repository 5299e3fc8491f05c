#include "generator_template.h"

#include <windows.h>

#include "generator_state.h"

namespace {

constexpr DWORD Label = WS_CHILD | WS_VISIBLE | SS_LEFT;
constexpr DWORD CountList = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_SORT;
constexpr DWORD Option = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTORADIOBUTTON;
constexpr DWORD Check = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD Push = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;

}  // namespace

DialogTemplate GeneratorTemplate() {
    DialogFrame frame;
    frame.caption = "Claverix ...";
    frame.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_NOFAILCREATE | DS_3DLOOK;
    frame.x = 70;
    frame.y = 70;
    frame.cx = 220;
    frame.cy = 270;
    DialogTemplate t(frame);
    using C = ControlClass;
    t.Add({TotalLabel, C::Static, "Numero total de digitos para el Password : ", Label, 0, 3, 5, 175, 15});
    t.Add({PerLineLabel, C::Static, "Numero total de digitos por linea : ", Label, 0, 3, 23, 175, 15});
    t.Add({DigitsLabel, C::Static, "Numero total de digitos numericos : ", Label, 0, 3, 41, 175, 15});
    t.Add({LettersLabel, C::Static, "Numero total de digitos letras : ", Label, 0, 3, 59, 175, 15});
    t.Add({SignsLabel, C::Static, "Numero total de digitos signos : ", Label, 0, 3, 77, 175, 15});
    t.Add({TotalList, C::ListBox, "", CountList, WS_EX_CLIENTEDGE, 184, 4, 30, 13});
    t.Add({PerLineList, C::ListBox, "", CountList, WS_EX_CLIENTEDGE, 184, 24, 30, 13});
    t.Add({DigitsList, C::ListBox, "", CountList, WS_EX_CLIENTEDGE, 184, 42, 30, 13});
    t.Add({LettersList, C::ListBox, "", CountList, WS_EX_CLIENTEDGE, 184, 60, 30, 13});
    t.Add({SignsList, C::ListBox, "", CountList, WS_EX_CLIENTEDGE, 184, 78, 30, 13});
    t.Add({CaseFrame, C::Button, "Tipo de Letra", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0, 5, 90, 210, 80});
    t.Add({LowerOption, C::Button, "Solo Minusculas", Option, 0, 15, 107, 85, 15});
    t.Add({UpperOption, C::Button, "Solo Mayusculas", Option, 0, 15, 128, 85, 15});
    t.Add({MixedOption, C::Button, "Minusculas y Mayusculas", Option, 0, 15, 148, 110, 15});
    t.Add({HexCheck, C::Button, "Solo letras Hexadecimales ", Check, 0, 5, 175, 210, 15});
    t.Add({CreateButton, C::Button, "Crear", Push, 0, 5, 193, 30, 15});
    t.Add({ResetButton, C::Button, "Reset", Push, 0, 90, 193, 30, 15});
    t.Add({ExitButton, C::Button, "Salir", Push, 0, 171, 193, 41, 15});
    t.Add({FileNameBox, C::Edit, "",
           WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | WS_HSCROLL | ES_MULTILINE | ES_AUTOHSCROLL,
           WS_EX_CLIENTEDGE, 5, 228, 205, 25});
    t.Add({DictionaryCheck, C::Button, "Creare contrase\xF1" "a con una palabra del diccionario ..", Check, 0, 5,
           255, 190, 12});
    t.Add({FileNameLabel, C::Static, "Nombre del fichero a crear y su \".\" y extension", Label, 0, 5, 215, 205, 10});
    return t;
}
