// Where the town screen finds its sprites and fonts in the global data.
#pragma once

namespace Main {

// Slots of Data2::TGlobalData::CommonSprites the town screen draws.
enum TCitySprite : int {
    csCaptionBanner = 1142,   // behind the caption, centred on x 400
    csMerchantFrame = 1143,   // around the merchant's picture, at (18, 15)
    csMenuButton = 1144,      // background of the town's text buttons
    csExpandButton = 1145,    // 15 x 26; lit at the next slot
    csCollapseButton = 1147,  // 15 x 26; lit at the next slot
    csFirstScrollPart = 1149, // 13 parts of the panels' scroll bars, 1149-1161
    csListRow = 1162,         // behind a row of a merchant's list
    csFirstSpellFrame = 1163, // 1163-1166: spell frames by the entry's index
    csPortraitCell = 1167,    // behind an empty portrait cell
    CitySpriteEnd = 1168,
};

} // namespace Main
