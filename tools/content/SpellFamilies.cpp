#include "tools/content/SpellFamilies.h"

#include "engine/core/TextReader.h"
#include "platform/classlib/Exception.h"
#include "platform/classlib/Streams.h"

#include <optional>

namespace Content {

namespace {

// Tokens of a record between its description and its effect sprites: targets, level,
// mana, action points, experience, kind and icon.
constexpr int TokensBeforeCastSprite = 7;
constexpr int SpellParams = 10;

// The family an effect sprite ID names, if it is one of the four effect ranges.
std::optional<int> FamilyOfSprite(int sprite) {
    const int range = sprite / 100, family = sprite % 100;
    if (sprite <= 0 || range < 10 || range > 13 || family < 1 || family > EffectFamilies)
        return std::nullopt;
    return family - 1;
}

void Skip(Data::TTextReader& text, int tokens) {
    for (int i = 0; i < tokens; ++i)
        text.ReadTokenView(0);
}

// The one family the spell's effect sprites agree on (0 means no sprite).
std::optional<int> FamilyOfRecord(std::initializer_list<int> sprites) {
    std::optional<int> family;
    for (const int sprite : sprites) {
        if (sprite == 0)
            continue;
        const std::optional<int> named = FamilyOfSprite(sprite);
        if (!named || (family && *family != *named))
            return std::nullopt;
        family = named;
    }
    return family;
}

} // namespace

TSpellFamilies ReadSpellFamilies(const std::string& fileName) {
    TSpellFamilies families;
    try {
        ClassLib::TFileStream stream(fileName, ClassLib::fmOpenRead);
        Data::TTextReader text(stream);
        Data::ReadTokenString(text); // the title
        const int count = Data::ReadTokenInt(text);
        Data::CheckData(count >= 0);
        for (int i = 0; i < count; ++i) {
            const int spell = Data::ReadTokenInt(text);
            // Map spells 1-64, battle spells 65-128: one bit each of a unit's masks.
            if (spell < 1 || spell > 128)
                throw ClassLib::Exception(
                    ClassLib::Format("Spell %d: spell IDs run from 1 to 128.", spell));
            Skip(text, 1); // class
            const ClassLib::AnsiString name = Data::ReadTokenString(text);
            Skip(text, 1 + TokensBeforeCastSprite);
            const int cast = Data::ReadTokenInt(text);
            Skip(text, 2); // sound, ticks
            const int flight = Data::ReadTokenInt(text);
            Skip(text, 3); // sound, ticks, speed
            const int impact = Data::ReadTokenInt(text);
            Skip(text, 2 + SpellParams);
            const std::optional<int> family = FamilyOfRecord({cast, flight, impact});
            if (!family)
                throw ClassLib::Exception(ClassLib::Format(
                    "Spell %d \"%s\": its effect sprites %d, %d and %d name no one family.", spell,
                    name, cast, flight, impact));
            if (!families.emplace(spell, *family).second)
                throw ClassLib::Exception(
                    ClassLib::Format("Spell %d \"%s\" has a second record.", spell, name));
        }
    } catch (const std::exception& e) {
        throw ClassLib::Exception(
            ClassLib::Format("%s: %s", fileName, ClassLib::ExceptionMessage(e)));
    }
    return families;
}

} // namespace Content
