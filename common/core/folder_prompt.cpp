#include "folder_prompt.h"

std::string PickerPrompt(std::string_view firstLine) {
    std::string prompt(firstLine);
    prompt += "\r\n\xAE Velmor Soft";
    return prompt;
}
