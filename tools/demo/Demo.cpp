// Demo records; see Demo.h.
#include "demo/Demo.h"

#include "schema/DateText.h"

namespace rackbook {

namespace {

const int kBoxesPerRack = 12;
const int kSlotsPerBox = 81;

// No apostrophes or slashes: the program's save refuses them, and a demo
// record should be editable as it is.
const char* const kStrains[] = {"E. coli K12 MG1655", "E. coli BL21(DE3)", "E. coli DH5alpha",
                                "E. coli XL1-Blue",   "E. coli TOP10",     "E. coli Rosetta(DE3)",
                                "E. coli JM109",      "E. coli C41(DE3)",  "E. coli BW25113",
                                "E. coli K12 W3110",  "E. coli HB101",     "E. coli MC4100",
                                "E. coli Origami B",  "B. subtilis 168",   "S. cerevisiae BY4741"};
const char* const kPlasmids[] = {"pUC19",      "pET28a", "pET21b", "pGEX-4T-1", "pBAD33",
                                 "pACYC184",   "pBR322", "pET15b", "pMAL-c2X",  "pCDFDuet-1",
                                 "pRSFDuet-1", "pKD46",  "pCP20",  "pTrc99A",   "pQE30"};
const char* const kSubunits[] = {"alpha", "beta", "gamma", "delta", "epsilon", "A",   "B",
                                 "C",     "D",    "E1",    "E2",    "NuoF",    "NuoG"};
const char* const kMutations[] = {"wild type", "H67A",         "D102N",    "K48R",       "C25S",
                                  "E113Q",     "delta N-term", "Y35F",     "R96K",       "S195A",
                                  "lacZ::kan", "recA1 endA1",  "His6 tag", "W172F G174A"};
const char* const kAntibiotics[] = {"Amp",  "Kan",   "Cam",      "Tet",      "Spec",
                                    "Gent", "Strep", "Amp, Cam", "Kan, Cam", "none"};
const char* const kComments[] = {"glycerol stock, 15%",
                                 "checked by colony PCR",
                                 "sequence verified",
                                 "from the \"old\" freezer",
                                 "low expression at 37 C, grow at 18 C",
                                 "two tubes",
                                 "thawed once",
                                 "replaces an older stock",
                                 "competent cells, 50 ul aliquots",
                                 "toxic, grows slowly"};

template <typename T, std::size_t N> const char* pick(Prng& prng, T (&items)[N]) {
    return items[prng.below(static_cast<std::uint32_t>(N))];
}

// Some day from 2001-01-01 to 2008-12-14, at midnight.
std::string randomDate(Prng& prng) {
    static const std::int64_t first = daysFromCivil(2001, 1, 1);
    static const std::int64_t last = daysFromCivil(2008, 12, 14);
    DateTime day = civilFromDays(first + prng.below(static_cast<std::uint32_t>(last - first + 1)));
    return formatStoredDateTime(day);
}

std::string positionName(int slot) {
    return std::string(1, static_cast<char>('A' + slot / 9)) + std::to_string(slot % 9 + 1);
}

} // namespace

std::uint64_t Prng::next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

DemoGenerator::DemoGenerator(std::uint64_t seed) : prng_(seed) {}

void DemoGenerator::advancePlace() {
    if (++slot_ < kSlotsPerBox)
        return;
    slot_ = 0;
    if (++box_ <= kBoxesPerRack)
        return;
    box_ = 1;
    ++rack_;
}

DemoRecord DemoGenerator::next() {
    while (prng_.chance(8)) // an empty slot now and then
        advancePlace();
    std::string rack = std::to_string(rack_);
    std::string box = std::to_string(box_);
    std::string position = positionName(slot_);
    advancePlace();

    DemoRecord record;
    record.reserve(11);
    record.push_back(rack + "_" + box + "_" + position);
    record.push_back(rack);
    record.push_back(box);
    record.push_back(position);
    record.push_back(std::string(pick(prng_, kStrains)));
    auto maybe = [&](std::uint32_t percentNull, auto& items) -> std::optional<std::string> {
        if (prng_.chance(percentNull))
            return std::nullopt;
        return std::string(pick(prng_, items));
    };
    record.push_back(maybe(15, kPlasmids));
    record.push_back(maybe(40, kSubunits));
    record.push_back(maybe(30, kMutations));
    record.push_back(std::string(pick(prng_, kAntibiotics)));
    record.push_back(randomDate(prng_));
    record.push_back(maybe(60, kComments));
    return record;
}

} // namespace rackbook
