#include "text_commands.h"

namespace cmd {

const CommandEntry kTextCommands[] = {
    {"TextLength", TextLength, 1},
    {"TextLeft", TextLeft, 1},
    {"TextRight", TextRight, 1},
    {"TextMiddle", TextMiddle, 1},
    {"CharFromCode", CharFromCode, 1},
    {"FindText", FindText, 1},
    {"FindTextReverse", FindTextReverse, 1},
    {"ToUpperCase", ToUpperCase, 1},
    {"ToLowerCase", ToLowerCase, 1},
    {"ToFullWidth", ToFullWidth, 1},
    {"ToHalfWidth", ToHalfWidth, 1},
    {"TrimSpaces", TrimSpaces, 1},
    {"RemoveAllSpaces", RemoveAllSpaces, 1},
    {"ReplaceSubtext", ReplaceSubtext, 1},
    {"SplitText", SplitText, 1},
    {"SpaceText", SpaceText, 1},
    {"RepeatText", RepeatText, 1},
    {"ByteSetLength", ByteSetLength, 1},
    {"ByteSetLeft", ByteSetLeft, 1},
    {"FindByteSet", FindByteSet, 1},
    {"BlankByteSet", BlankByteSet, 1},
    {"RepeatByteSet", RepeatByteSet, 1},
    {nullptr, nullptr, 0},
};

} // namespace cmd
