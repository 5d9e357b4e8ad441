// Every code a room asks for, worked out the way a player works it out: from what the room shows.
// Each reading takes the clue art of the built room (signs, dice, clocks, lamps, mirrors, posters,
// plaques, paint mixes), never the lock's own answer, so a clue and its lock that drift apart
// leave a room nobody can solve by looking, and fail here.
#include <Ostrevan/Levels.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <numeric>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using namespace ostrevan;

namespace {

using Entry = std::vector<int>;

const Level& room(int n) { return Levels::all().at(static_cast<std::size_t>(n - 1)); }

// Calls `see` with every look of the room, props left to right by their centres: a prop's base art
// first, then the art of each of its states (a code that shows once powered, lit or magnified).
template <class See>
void lookAround(const Level& level, See see) {
    std::vector<const Prop*> props;
    for (const Prop& prop : level.props) props.push_back(&prop);
    std::stable_sort(props.begin(), props.end(),
                     [](const Prop* a, const Prop* b) { return a->rect.midX() < b->rect.midX(); });
    for (const Prop* prop : props) {
        see(prop->art);
        for (const PropState& state : prop->states) see(state.art);
    }
}

template <class A>
std::vector<const A*> looks(const Level& level) {
    std::vector<const A*> found;
    lookAround(level, [&](const Art& look) {
        if (const auto* a = std::get_if<A>(&look)) found.push_back(a);
    });
    return found;
}

// The texts that looks of these kinds show, left to right, joined; blanks add nothing.
template <class... A>
std::string texts(const Level& level) {
    std::string found;
    lookAround(level, [&](const Art& look) {
        std::visit(
            [&](const auto& a) {
                if constexpr ((std::is_same_v<std::decay_t<decltype(a)>, A> || ...)) {
                    if constexpr (requires { a.text.value_or(""); }) found += a.text.value_or("");
                    else found += a.text;
                }
            },
            look);
    });
    return found;
}

template <class A>
std::vector<Tone> tones(const Level& level) {
    std::vector<Tone> found;
    for (const A* a : looks<A>(level)) found.insert(found.end(), a->tones.begin(), a->tones.end());
    return found;
}

// The base art of the prop `id`, which the clue needs to be of kind A.
template <class A>
const A& artOf(const Level& level, std::string_view id) {
    static const A kMissing{};
    const Prop* prop = level.prop(id);
    const A* a = prop ? std::get_if<A>(&prop->art) : nullptr;
    EXPECT_NE(a, nullptr) << "room " << level.id << " lacks the clue " << id;
    return a ? *a : kMissing;
}

std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> found;
    for (std::string word; in >> word;) found.push_back(word);
    return found;
}

int number(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc{} && end == text.data() + text.size()) return value;
    ADD_FAILURE() << "not a number: " << text;
    return -1;
}

Entry digitsOf(std::string_view text) {
    Entry entry;
    for (const char c : text) entry.push_back(c >= '0' && c <= '9' ? c - '0' : -1);
    return entry;
}

// Entries as the panels take them: dial faces by name, colours by their place on the palette.
Entry turned(const Panel& panel, const std::vector<std::string>& faces) {
    const auto* dials = std::get_if<entry::Dials>(&panel.kind);
    Entry entry;
    for (std::size_t i = 0; dials && i < faces.size() && i < dials->faces.size(); ++i) {
        const auto& names = dials->faces[i];
        entry.push_back(static_cast<int>(std::find(names.begin(), names.end(), faces[i]) - names.begin()));
    }
    return entry;
}

Entry pressed(const Panel& panel, const std::vector<Tone>& order) {
    const auto* colours = std::get_if<entry::Colors>(&panel.kind);
    Entry entry;
    for (std::size_t i = 0; colours && i < order.size(); ++i) {
        const auto& palette = colours->palette;
        entry.push_back(static_cast<int>(std::find(palette.begin(), palette.end(), order[i]) - palette.begin()));
    }
    return entry;
}

// Sums such as "3+4" and "2x3", one digit each.
Entry sums(const std::string& poster) {
    Entry entry;
    for (const std::string& sum : words(poster)) {
        const std::size_t op = sum.find_first_of("+-x/", 1);
        const int a = number(sum.substr(0, op));
        const int b = op == std::string::npos ? 0 : number(sum.substr(op + 1));
        const char how = op == std::string::npos ? '?' : sum[op];
        entry.push_back(how == '+' ? a + b : how == '-' ? a - b : how == 'x' ? a * b : how == '/' && b ? a / b : -1);
    }
    return entry;
}

// Roman numerals read in rows, each written out in digits: "IV IX" is 4, 9; "L L" is 5, 0, 5, 0.
Entry romanDigits(const std::string& poster) {
    const std::map<char, int> value = {{'I', 1}, {'V', 5}, {'X', 10}, {'L', 50}, {'C', 100}};
    std::string digits;
    for (const std::string& numeral : words(poster)) {
        int total = 0;
        for (std::size_t i = 0; i < numeral.size(); ++i) {
            const int here = value.count(numeral[i]) ? value.at(numeral[i]) : -1000;
            const int next = i + 1 < numeral.size() && value.count(numeral[i + 1]) ? value.at(numeral[i + 1]) : 0;
            total += here < next ? -here : here;
        }
        digits += std::to_string(total);
    }
    return digitsOf(digits);
}

// Numbers standing for letters with A = 1; the panels count from A = 0.
Entry lettersFromNumbers(const std::string& poster) {
    Entry entry;
    for (const std::string& n : words(poster)) entry.push_back(number(n) - 1);
    return entry;
}

// What each pair of paints on the room's mixing charts makes, top to bottom.
std::vector<Tone> mixes(const Level& level) {
    const std::map<std::set<Tone>, Tone> result = {
        {{Tone::blue, Tone::yellow}, Tone::green},
        {{Tone::red, Tone::blue}, Tone::purple},
        {{Tone::red, Tone::yellow}, Tone::orange},
    };
    std::vector<Tone> made;
    for (const art::Mixes* chart : looks<art::Mixes>(level))
        for (const std::vector<Tone>& pair : chart->mixes) {
            const auto mix = result.find(std::set<Tone>(pair.begin(), pair.end()));
            made.push_back(mix == result.end() ? Tone::black : mix->second);
        }
    return made;
}

// A clock read as the note asks: "HHMM" is the hour and the minute in two digits each.
Entry timeCode(const art::Clock& clock, const std::string& note) {
    EXPECT_NE(note.find("HHMM"), std::string::npos) << note;
    char code[24];
    std::snprintf(code, sizeof code, "%02d%02d", clock.h, clock.m);
    return digitsOf(code);
}

// The things `pick` finds in the room (a letter, a colour), in the order of the numbers on the
// plaques by them: each thing takes the nearest plaque.
template <class T, class Pick>
std::vector<T> byLabel(const Level& level, Pick pick) {
    std::map<int, T> byNumber;
    for (const Prop& prop : level.props) {
        const std::optional<T> thing = pick(prop.art);
        if (!thing) continue;
        const auto distance = [&](const Prop& p) {
            return std::hypot(p.rect.midX() - prop.rect.midX(), p.rect.midY() - prop.rect.midY());
        };
        const Prop* label = nullptr;
        for (const Prop& other : level.props)
            if (std::holds_alternative<art::Plaque>(other.art) && (!label || distance(other) < distance(*label)))
                label = &other;
        const int n = label ? number(std::get<art::Plaque>(label->art).text) : -1;
        EXPECT_TRUE(byNumber.emplace(n, *thing).second) << "two things labelled " << n;
    }
    std::vector<T> order;
    for (const auto& [n, thing] : byNumber) order.push_back(thing);
    return order;
}

// The rooms' own readings.

// Room 2: the signs, in the direction the plaque gives.
Entry signsAsThePlaqueSays(const Level& level, const Panel&) {
    std::string signs = texts<art::Digit>(level);
    const std::string way = texts<art::Plaque>(level);
    if (way == "RIGHT TO LEFT") {
        std::reverse(signs.begin(), signs.end());
    } else {
        EXPECT_EQ(way, "LEFT TO RIGHT");
    }
    return digitsOf(signs);
}

// Digits that signs of these kinds show, left to right.
template <class... A>
Entry digitsShown(const Level& level, const Panel&) {
    return digitsOf(texts<A...>(level));
}

// Room 6: the clock that is not broken, as the note asks.
Entry workingClock(const Level& level, const Panel&) {
    Entry code;
    for (const Prop& prop : level.props) {
        const auto* clock = std::get_if<art::Clock>(&prop.art);
        if (!clock || !prop.look || prop.look->find("broken") != std::string::npos) continue;
        const Entry time = timeCode(*clock, artOf<art::Note>(level, "note").text);
        code.insert(code.end(), time.begin(), time.end());
    }
    return code;
}

// Room 7: the books of each legend colour, counted.
Entry booksByLegend(const Level& level, const Panel&) {
    const std::vector<Tone>& books = artOf<art::Bookshelf>(level, "shelf").tones;
    Entry entry;
    for (const Tone tone : artOf<art::Dots>(level, "legend").tones)
        entry.push_back(static_cast<int>(std::count(books.begin(), books.end(), tone)));
    return entry;
}

// Room 16: the letters on the signs and the rug, in number order, with A as 0.
Entry lettersByPlaque(const Level& level, const Panel&) {
    const auto letter = [](const Art& art) -> std::optional<char> {
        std::string text;
        if (const auto* sign = std::get_if<art::Digit>(&art)) text = sign->text;
        if (const auto* rug = std::get_if<art::Rug>(&art)) text = rug->text;
        return text.size() == 1 ? std::optional(text[0]) : std::nullopt;
    };
    Entry entry;
    for (const char c : byLabel<char>(level, letter)) entry.push_back(c - 'A');
    return entry;
}

// Room 25: the ball colours from the lowest number to the highest.
Entry ballsLowToHigh(const Level& level, const Panel& panel) {
    return pressed(panel, byLabel<Tone>(level, [](const Art& art) -> std::optional<Tone> {
                       if (const auto* ball = std::get_if<art::Ball>(&art)) return ball->tone;
                       return std::nullopt;
                   }));
}

// Room 28: lit lamps, the hour, the sign.
Entry threeClues(const Level& level, const Panel& panel) {
    const std::vector<bool>& lamps = artOf<art::Lamps>(level, "lamps").lit;
    return turned(panel, {std::to_string(std::count(lamps.begin(), lamps.end(), true)),
                          std::to_string(artOf<art::Clock>(level, "clock").h), artOf<art::Digit>(level, "sign").text});
}

// Room 31: the mirror's arrows (kept in reading order; only the drawing is flipped), by the legend.
Entry arrowsInTheMirror(const Level& level, const Panel&) {
    constexpr std::string_view kUp = "\xE2\x86\x91", kDown = "\xE2\x86\x93";
    const bool upIsOn = artOf<art::Poster>(level, "legend").text.starts_with("UP = ON");
    const std::string arrows = artOf<art::Mirror>(level, "mirror").text.value_or("");
    Entry entry;
    for (std::string_view rest = arrows; !rest.empty(); rest.remove_prefix(std::min(rest.size(), kUp.size()))) {
        const bool up = rest.starts_with(kUp);
        entry.push_back(!up && !rest.starts_with(kDown) ? -1 : up == upIsOn ? 1 : 0);
    }
    return entry;
}

// Room 34: each row of lamps is a binary digit, lit for 1.
Entry binaryRows(const Level& level, const Panel&) {
    Entry entry;
    for (const art::Lamps* row : looks<art::Lamps>(level))
        entry.push_back(std::accumulate(row->lit.begin(), row->lit.end(), 0,
                                        [](int n, bool lit) { return n * 2 + (lit ? 1 : 0); }));
    return entry;
}

// Room 37: how many of each thing the plaque names, in its order.
Entry census(const Level& level, const Panel&) {
    const std::map<std::string, std::size_t> kinds = {
        {"PLANTS", Art(art::Plant{}).index()},
        {"CLOCKS", Art(art::Clock{}).index()},
        {"PAINTINGS", Art(art::Painting{}).index()},
        {"LAMPS", Art(art::FloorLamp{}).index()},
    };
    Entry entry;
    for (const std::string& word : words(artOf<art::Plaque>(level, "census").text)) {
        const std::size_t kind = kinds.count(word) ? kinds.at(word) : kArtCaseCount;
        entry.push_back(static_cast<int>(std::count_if(level.props.begin(), level.props.end(),
                                                       [&](const Prop& p) { return p.art.index() == kind; })));
    }
    return entry;
}

// Room 42: each stripe's colour looked up on the colour key ("RED 1   BLUE 2 ...").
Entry stripesThroughTheKey(const Level& level, const Panel&) {
    const std::vector<std::string> key = words(artOf<art::Poster>(level, "legend").text);
    std::map<Tone, int> numbers;
    for (std::size_t i = 0; i + 1 < key.size(); i += 2) {
        std::string colour = key[i];
        for (char& c : colour) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (const auto tone = parseTone(colour)) numbers[*tone] = number(key[i + 1]);
    }
    Entry entry;
    for (const Tone tone : tones<art::Stripes>(level)) entry.push_back(numbers.count(tone) ? numbers.at(tone) : -1);
    return entry;
}

struct Clue {
    int room;
    const char* lock;  // the panel the clue opens
    std::function<Entry(const Level&, const Panel&)> read;
};

}  // namespace

TEST(RoomClues, EveryCodeFollowsFromWhatTheRoomShows) {
    using L = const Level&;
    using P = const Panel&;
    const Clue clues[] = {
        {2, "pad", signsAsThePlaqueSays},
        {4, "buttons", [](L l, P p) { return pressed(p, tones<art::Stripes>(l)); }},
        {5, "pad", digitsShown<art::Radio>},
        {6, "pad", workingClock},
        {7, "pad", booksByLegend},
        {10, "pad", digitsShown<art::Mirror>},
        {12, "dials", [](L l, P p) { return turned(p, words(artOf<art::Rug>(l, "rug").text)); }},
        {14, "sw", [](L l, P) {  // on for a lit lamp
             const std::vector<bool>& lit = artOf<art::Lamps>(l, "lamps").lit;
             return Entry(lit.begin(), lit.end());
         }},
        {15, "pad", digitsShown<art::Tv>},
        {16, "word", lettersByPlaque},
        {17, "pad", [](L l, P) { return romanDigits(artOf<art::Poster>(l, "poster").text); }},
        {18, "pad", [](L l, P) {  // the dice, then how many windows
             Entry e = artOf<art::Dice>(l, "dice").values;
             e.push_back(static_cast<int>(looks<art::Window>(l).size()));
             return e;
         }},
        {19, "buttons", [](L l, P p) { return pressed(p, mixes(l)); }},
        {22, "pad", digitsShown<art::Glow>},
        {23, "safe", [](L l, P) { return sums(artOf<art::Poster>(l, "maths").text); }},
        {24, "pad", digitsShown<art::Digit>},
        {25, "buttons", ballsLowToHigh},
        {28, "dials", threeClues},
        {29, "buttons", [](L l, P p) { return pressed(p, tones<art::TvFlash>(l)); }},
        {30, "chest", [](L l, P) { return artOf<art::Dice>(l, "dice").values; }},
        {30, "panel", [](L l, P p) { return pressed(p, tones<art::Stripes>(l)); }},
        {31, "levers", arrowsInTheMirror},
        {32, "word", [](L l, P) { return lettersFromNumbers(artOf<art::Poster>(l, "nums").text); }},
        {34, "pad", binaryRows},
        {35, "piano", [](L l, P p) { return pressed(p, tones<art::Dots>(l)); }},
        {36, "pad", digitsShown<art::Stamp>},
        {37, "pad", census},
        {38, "pad", digitsShown<art::Glow>},
        {40, "pad", [](L l, P) { return timeCode(artOf<art::Clock>(l, "clock"), artOf<art::Plaque>(l, "note").text); }},
        {41, "pad", digitsShown<art::Glow>},
        {42, "pad", stripesThroughTheKey},
        {45, "buttons", [](L l, P p) { return pressed(p, tones<art::TvFlash>(l)); }},
        {46, "pad", digitsShown<art::Digit, art::Glow>},
        {47, "safe", [](L l, P) { return sums(artOf<art::Poster>(l, "maths").text); }},
        {47, "pad", digitsShown<art::Glow>},
        {49, "word", [](L l, P) { return lettersFromNumbers(artOf<art::Poster>(l, "nums").text); }},
        {50, "pad", [](L l, P) { return romanDigits(artOf<art::Poster>(l, "roman").text); }},
    };
    std::set<std::pair<std::int64_t, std::string>> read;
    for (const Clue& clue : clues) {
        SCOPED_TRACE("room " + std::to_string(clue.room) + ", " + clue.lock);
        const Level& level = room(clue.room);
        const Panel* panel = level.panel(clue.lock);
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(clue.read(level, *panel), panel->answer);
        read.emplace(level.id, clue.lock);
    }
    // A lock without a reading here would take a code that nothing in its room gives away.
    for (const Level& level : Levels::all())
        for (const auto& [id, panel] : level.panels)
            EXPECT_TRUE(read.count({level.id, id})) << "room " << level.id << ": no clue read for " << id;
}

TEST(RoomClues, OrbsGoWhereTheWallSaysAndTheOddClockHidesTheKey) {
    const std::pair<int, std::function<std::vector<Tone>(const Level&)>> rows[] = {
        {11, tones<art::Dots>}, {40, tones<art::Dots>}, {48, mixes}, {50, tones<art::Dots>}};
    for (const auto& [n, order] : rows) {
        SCOPED_TRACE("room " + std::to_string(n));
        std::vector<Tone> filled;
        for (const art::Sockets* sockets : looks<art::Sockets>(room(n)))
            for (const std::optional<Tone>& orb : sockets->tones)
                if (orb) filled.push_back(*orb);
        EXPECT_EQ(order(room(n)), filled);
    }

    // Two clocks agree; the one that does not is the one that gives the key.
    std::vector<const Prop*> clocks;
    for (const Prop& prop : room(43).props)
        if (std::holds_alternative<art::Clock>(prop.art)) clocks.push_back(&prop);
    ASSERT_EQ(clocks.size(), 3u);
    for (const Prop* clock : clocks) {
        const bool odd = std::count_if(clocks.begin(), clocks.end(),
                                       [&](const Prop* other) { return other->art == clock->art; }) == 1;
        const bool givesKey = std::any_of(clock->rules.begin(), clock->rules.end(), [](const Rule& rule) {
            return std::any_of(rule.effects.begin(), rule.effects.end(),
                               [](const Effect& e) { return std::holds_alternative<effect::Give>(e); });
        });
        EXPECT_EQ(odd, givesKey) << clock->id;
    }
}
