#include "scene.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>

#include "Polygon.h"
#include "debug.h"
#include "entityArena.h"
#include "graphics.h"

namespace scene {

namespace {

const float kFarthest = 10000.0f;
const float kFastest = 1000.0f;
const float kLargestRadius = 1000.0f;
const float kHeaviest = 1000000.0f;

struct Colour {
    const char* name;
    float const* rgb;
};
const Colour kColours[] = {
    {"cCyan", cCyan}, {"cWhite", cWhite},     {"cGrey", cGrey},       {"cRed", cRed},      {"cGreen", cGreen},
    {"cBlue", cBlue}, {"cYellow", cYellow}, {"cMagenta", cMagenta}, {"cOrange", cOrange},
};

// A line cut into words, read from the front; every reader says what was
// wrong in `why` and answers false.
class Words {
public:
    explicit Words(std::string const& line)
    {
        std::istringstream in(line.substr(0, line.find('#')));
        for (std::string word; in >> word;)
            words.push_back(word);
    }

    bool empty() const { return at == words.size(); }
    std::string const& peek() const { return words[at]; }
    std::string const& next() { return words[at++]; }
    // Takes the next word when it is `word`.
    bool take(const char* word)
    {
        if (empty() || peek() != word)
            return false;
        ++at;
        return true;
    }

    bool number(float& value, const char* what, std::string& why)
    {
        if (empty()) {
            why = std::string("no ") + what;
            return false;
        }
        std::string const& word = next();
        char* end = nullptr;
        errno = 0;
        value = std::strtof(word.c_str(), &end);
        if (end == word.c_str() || *end != '\0') {
            why = "'" + word + "' is not a number (" + what + ")";
            return false;
        }
        if (!std::isfinite(value) || errno == ERANGE) {
            why = std::string(what) + " '" + word + "' is not a finite number";
            return false;
        }
        return true;
    }

    bool within(float& value, float low, float high, const char* what, std::string& why)
    {
        if (!number(value, what, why))
            return false;
        if (value >= low && value <= high)
            return true;
        why = std::string(what) + " " + word() + " is out of range";
        return false;
    }

    bool positive(float& value, float high, const char* what, std::string& why)
    {
        if (!number(value, what, why))
            return false;
        if (value > 0.0f && value <= high)
            return true;
        why = std::string("the ") + what + " " + word() + (value <= 0.0f ? " is not above 0" : " is out of range");
        return false;
    }

    bool point(Vector2& value, float limit, const char* what, std::string& why)
    {
        return within(value.x, -limit, limit, what, why) && within(value.y, -limit, limit, what, why);
    }

    bool position(Vector2& value, const char* what, std::string& why)
    {
        const float low = -kFarthest;
        if (!within(value.x, low, graphics::kWidth + kFarthest, what, why))
            return false;
        return within(value.y, low, graphics::kHeight + kFarthest, what, why);
    }

    bool whole(std::size_t& value, std::size_t limit, const char* what, std::string& why)
    {
        if (empty()) {
            why = std::string("no ") + what;
            return false;
        }
        std::string const& word = next();
        const bool digits = !word.empty() && word.size() <= 9 &&
                            std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; });
        value = digits ? std::strtoul(word.c_str(), nullptr, 10) : limit;
        if (value < limit)
            return true;
        why = std::string(what) + " '" + word + "' is not a whole number below " + std::to_string(limit);
        return false;
    }

    bool colour(float const*& value, std::string& why)
    {
        if (empty()) {
            why = "no colour";
            return false;
        }
        value = colourNamed(next());
        if (value != nullptr)
            return true;
        why = "unknown colour '" + words[at - 1] + "'";
        return false;
    }

private:
    std::string const& word() const { return words[at - 1]; }

    std::vector<std::string> words;
    std::size_t at = 0;
};

struct Reading {
    Scene& scene;
    // Slots and queue places given in the text, and which bodies gave one.
    std::vector<bool> slotGiven;
    std::size_t queued = 0;
    std::size_t mouseBalls = 0;
    std::size_t polygons = 0;
    bool wellSeen = false;
};

// The last field of a body's line, its slot, then the body into the scene.
bool addBody(Words& words, Body& body, Reading& reading, std::string& why)
{
    const bool given = words.take("slot");
    if (given && !words.whole(body.slot, entityArena::kSlots, "slot", why))
        return false;
    reading.scene.bodies.push_back(body);
    reading.slotGiven.push_back(given);
    return true;
}

bool readBall(Words& words, Reading& reading, std::string& why)
{
    Body ball;
    if (!words.position(ball.position, "position", why) || !words.point(ball.velocity, kFastest, "velocity", why))
        return false;
    if (!words.positive(ball.radius, kLargestRadius, "radius", why) ||
        !words.positive(ball.mass, kHeaviest, "mass", why))
        return false;
    if (!words.colour(ball.colour, why))
        return false;
    ball.start = words.take("start");
    if (!ball.start) {
        ball.queue = reading.mouseBalls++;
        if (words.take("queue")) {
            if (!words.whole(ball.queue, entityArena::kSlots, "queue place", why))
                return false;
            ++reading.queued;
        }
    }
    return addBody(words, ball, reading, why);
}

bool readPolygon(Words& words, Reading& reading, std::string& why)
{
    Body body;
    body.ball = false;
    if (!words.colour(body.colour, why))
        return false;
    while (!words.empty() && words.peek() != "motion" && words.peek() != "slot") {
        Vector2 corner;
        if (!words.position(corner, "corner", why))
            return false;
        body.corners.push_back(corner);
    }
    if (!polygon::check(body.corners, why))
        return false;
    if (++reading.polygons > polygon::kMaxInWorld) {
        why = "more polygons than the world holds (" + std::to_string(polygon::kMaxInWorld) + ")";
        return false;
    }
    if (words.take("motion") &&
        (!words.position(body.position, "position", why) || !words.point(body.velocity, kFastest, "velocity", why)))
        return false;
    return addBody(words, body, reading, why);
}

bool readWell(Words& words, Reading& reading, std::string& why)
{
    if (reading.wellSeen) {
        why = "a second well";
        return false;
    }
    reading.wellSeen = true;
    if (!words.position(reading.scene.well, "well position", why))
        return false;
    const std::string state = words.empty() ? std::string() : words.next();
    if (state != "on" && state != "off") {
        why = "the well is neither on nor off";
        return false;
    }
    reading.scene.wellOn = state == "on";
    return true;
}

bool readFree(Words& words, Reading& reading, std::string& why)
{
    while (!words.empty()) {
        std::size_t slot = 0;
        if (!words.whole(slot, entityArena::kSlots, "free slot", why))
            return false;
        reading.scene.free.push_back(slot);
    }
    return true;
}

bool readLine(std::string const& line, Reading& reading, std::string& why)
{
    Words words(line);
    if (words.empty())
        return true;
    const std::string kind = words.next();
    bool read = false;
    if (kind == "ball")
        read = readBall(words, reading, why);
    else if (kind == "polygon")
        read = readPolygon(words, reading, why);
    else if (kind == "well")
        read = readWell(words, reading, why);
    else if (kind == "free")
        read = readFree(words, reading, why);
    else
        why = "unknown line '" + kind + "'";
    if (read && !words.empty()) {
        why = "'" + words.next() + "' after the end of the line's fields";
        return false;
    }
    if (read && reading.scene.bodies.size() > entityArena::kSlots) {
        why = "more bodies than the world holds (" + std::to_string(entityArena::kSlots) + ")";
        return false;
    }
    return read;
}

// Slots left out follow the previous body's; all rise, and none is free.
// Queue places, when given, are given for every such ball, once each.
bool settle(Reading& reading, std::string& why)
{
    Scene& scene = reading.scene;
    for (std::size_t i = 0; i < scene.bodies.size(); ++i) {
        Body& body = scene.bodies[i];
        if (!reading.slotGiven[i])
            body.slot = i == 0 ? 0 : scene.bodies[i - 1].slot + 1;
        if (i > 0 && body.slot <= scene.bodies[i - 1].slot) {
            why = "body " + std::to_string(i + 1) + ": slots must rise through the file";
            return false;
        }
        if (body.slot >= entityArena::kSlots) {
            why = "body " + std::to_string(i + 1) + ": no such slot";
            return false;
        }
    }
    std::set<std::size_t> taken;
    for (Body const& body : scene.bodies)
        taken.insert(body.slot);
    for (std::size_t slot : scene.free)
        if (!taken.insert(slot).second) {
            why = "slot " + std::to_string(slot) + " is free and taken";
            return false;
        }
    if (reading.queued != 0) {
        std::set<std::size_t> places;
        for (Body const& body : scene.bodies)
            if (body.ball && !body.start && body.queue < reading.mouseBalls)
                places.insert(body.queue);
        if (reading.queued != reading.mouseBalls || places.size() != reading.mouseBalls) {
            why = "the queue places of the balls are not 0 to " + std::to_string(reading.mouseBalls - 1) + " once each";
            return false;
        }
    }
    return true;
}

// Bodies of the world have colours of the table.
const char* nameOf(float const* colour)
{
    const char* name = colourName(colour);
    DASSERT(name != nullptr);
    return name;
}

void print(std::string& out, float value)
{
    char text[32];
    std::snprintf(text, sizeof text, " %a", static_cast<double>(value));
    out += text;
}

}  // namespace

const char* colourName(float const* colour)
{
    for (Colour const& c : kColours)
        if (c.rgb == colour)
            return c.name;
    return nullptr;
}

float const* colourNamed(std::string const& name)
{
    for (Colour const& c : kColours)
        if (name == c.name)
            return c.rgb;
    return nullptr;
}

bool parse(std::string const& text, Scene& scene, std::string& error)
{
    scene = Scene();
    Reading reading{scene, {}, 0, 0, false};
    std::size_t lineNumber = 0;
    std::size_t at = 0;
    const auto fail = [&](std::string const& why) {
        error = std::to_string(lineNumber) + ": " + why;
        return false;
    };
    while (at < text.size() || lineNumber == 0) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        std::string line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        ++lineNumber;
        at = end + 1;
        if (line.size() > kMaxLineBytes)
            return fail("a line longer than " + std::to_string(kMaxLineBytes) + " bytes");
        if (line.find('\0') != std::string::npos)
            return fail("binary data, not text");
        if (lineNumber == 1) {
            if (text.empty())
                return fail("the file is empty, not a scene");
            int version = 0;
            char rest = 0;
            if (std::sscanf(line.c_str(), "ballpit scene %d%c", &version, &rest) != 1 ||
                line.compare(0, sizeof kMagic - 1, kMagic) != 0)
                return fail("not a ballpit scene (its first line is not '" + std::string(kMagic) + " " +
                            std::to_string(kVersion) + "')");
            if (version != kVersion)
                return fail("a scene of format version " + std::to_string(version) + "; this ballpit reads version " +
                            std::to_string(kVersion));
            continue;
        }
        std::string why;
        if (!readLine(line, reading, why))
            return fail(why);
    }
    std::string why;
    if (!settle(reading, why))
        return fail(why);
    return true;
}

bool read(std::string const& path, Scene& scene, std::string& error)
{
    struct stat info;
    if (stat(path.c_str(), &info) != 0) {
        error = path + ":0: " + std::strerror(errno);
        return false;
    }
    if (S_ISDIR(info.st_mode)) {
        error = path + ":0: a directory, not a scene";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ":0: " + std::strerror(errno);
        return false;
    }
    std::string text;
    char chunk[65536];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        text.append(chunk, static_cast<std::size_t>(in.gcount()));
        if (text.size() > kMaxTextBytes) {
            error = path + ":0: larger than any world";
            return false;
        }
    }
    if (!parse(text, scene, error)) {
        error = path + ":" + error;
        return false;
    }
    return true;
}

std::string write(Scene const& scene)
{
    std::string out = std::string(kMagic) + " " + std::to_string(kVersion) + "\n";
    for (Body const& body : scene.bodies) {
        if (body.ball) {
            out += "ball";
            for (float value : {body.position.x, body.position.y, body.velocity.x, body.velocity.y, body.radius,
                                body.mass})
                print(out, value);
            out += std::string(" ") + nameOf(body.colour);
            out += body.start ? " start" : " queue " + std::to_string(body.queue);
        } else {
            out += std::string("polygon ") + nameOf(body.colour);
            for (Vector2 const& corner : body.corners) {
                print(out, corner.x);
                print(out, corner.y);
            }
            out += " motion";
            for (float value : {body.position.x, body.position.y, body.velocity.x, body.velocity.y})
                print(out, value);
        }
        out += " slot " + std::to_string(body.slot) + "\n";
    }
    out += "well";
    print(out, scene.well.x);
    print(out, scene.well.y);
    out += scene.wellOn ? " on\n" : " off\n";
    // A hundred to a line keeps every line short.
    for (std::size_t i = 0; i < scene.free.size(); i += 100) {
        out += "free";
        for (std::size_t j = i; j < std::min(i + 100, scene.free.size()); ++j)
            out += " " + std::to_string(scene.free[j]);
        out += "\n";
    }
    return out;
}

}  // namespace scene
