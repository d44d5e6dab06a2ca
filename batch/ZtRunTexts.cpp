// Texts set aside by item: each item has its own place, so that threads
// converting different items never touch the same one.

#include "ZtRunTexts.h"

#include <exception>

namespace quorvex {

TZtRunTexts::TZtRunTexts(std::size_t items, int folder)
    : FPlaces(items)
    , FInMemory(items)
{
    if (folder < 0) return;
    try {
        FScratch = std::make_unique<TZtScratchFile>(folder);
    } catch (const std::exception&) {
        // The texts stay in memory: the search data comes out the same.
    }
}

void TZtRunTexts::SetAside(std::size_t item, std::string& text)
{
    if (text.empty()) return;
    TPlace& place = FPlaces.at(item);
    if (FScratch) {
        try {
            place.Offset = FScratch->Append(text);
            place.Size = text.size();
            place.InScratch = true;
            std::string().swap(text);
            return;
        } catch (const std::exception&) {
            // a full disk: this one stays in memory
        }
    }
    FInMemory.at(item) = std::move(text);
}

std::string TZtRunTexts::Take(std::size_t item)
{
    TPlace& place = FPlaces.at(item);
    if (!place.InScratch) return std::move(FInMemory.at(item));
    place.InScratch = false;
    try {
        return FScratch->Read(place.Offset, place.Size);
    } catch (const std::exception&) {
        return {};
    }
}

} // namespace quorvex
