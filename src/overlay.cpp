#include "overlay.h"

#include <GL/gl.h>
#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iostream>

namespace overlay {

namespace {

const char kDefaultFont[] = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";
const int kFontSize = 14;
// A power of two on each side, as OpenGL 1.1 requires: room for a dozen
// lines of sixty characters.
const int kTextureWidth = 512;
const int kTextureHeight = 256;
// Pixels of backdrop around the text.
const int kMargin = 6;

enum class Font { unopened, open, missing };

Font s_font = Font::unopened;
TTF_Font* s_pFont = nullptr;
GLuint s_uTexture = 0;
std::vector<std::string> s_shown_Lines;
int s_iTextWidth = 0;
int s_iTextHeight = 0;

bool fontReady()
{
    if (s_font != Font::unopened)
        return s_font == Font::open;
    const char* path = std::getenv("BALLPIT_FONT");
    if (path == nullptr || *path == '\0')
        path = kDefaultFont;
    if (TTF_Init() == 0) {
        s_pFont = TTF_OpenFont(path, kFontSize);
        if (s_pFont == nullptr)
            TTF_Quit();
    }
    if (s_pFont == nullptr) {
        std::cerr << "overlay off: cannot open the font " << path << ": " << TTF_GetError() << std::endl;
        s_font = Font::missing;
        return false;
    }
    glGenTextures(1, &s_uTexture);
    glBindTexture(GL_TEXTURE_2D, s_uTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    s_font = Font::open;
    return true;
}

// Copies a rendered line into the RGBA image at row `top`, clipped to it.
void copyLine(SDL_Surface* line, int top, std::vector<unsigned char>& image)
{
    if (line->format->BytesPerPixel != 4)
        return;
    SDL_LockSurface(line);
    const int width = std::min(line->w, kTextureWidth);
    const int height = std::min(line->h, kTextureHeight - top);
    for (int y = 0; y < height; ++y) {
        const Uint8* row = static_cast<const Uint8*>(line->pixels) + y * line->pitch;
        for (int x = 0; x < width; ++x) {
            Uint32 pixel;
            std::memcpy(&pixel, row + x * 4, sizeof pixel);
            unsigned char* out = &image[4 * ((top + y) * kTextureWidth + x)];
            SDL_GetRGBA(pixel, line->format, &out[0], &out[1], &out[2], &out[3]);
        }
    }
    SDL_UnlockSurface(line);
    s_iTextWidth = std::max(s_iTextWidth, width);
}

void upload(std::vector<std::string> const& lines)
{
    std::vector<unsigned char> image(4 * kTextureWidth * kTextureHeight, 0);
    const SDL_Color white = {255, 255, 255, 0};
    s_iTextWidth = 0;
    int top = 0;
    for (std::string const& text : lines) {
        if (top >= kTextureHeight)
            break;
        if (SDL_Surface* line = TTF_RenderUTF8_Blended(s_pFont, text.c_str(), white)) {
            copyLine(line, top, image);
            SDL_FreeSurface(line);
        }
        top += TTF_FontLineSkip(s_pFont);
    }
    s_iTextHeight = std::min(top, kTextureHeight);
    glBindTexture(GL_TEXTURE_2D, s_uTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, kTextureWidth, kTextureHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 image.data());
}

void quad(float left, float top, float right, float bottom, float s, float t)
{
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(left, top, 0.0f);
    glTexCoord2f(s, 0.0f);
    glVertex3f(right, top, 0.0f);
    glTexCoord2f(s, t);
    glVertex3f(right, bottom, 0.0f);
    glTexCoord2f(0.0f, t);
    glVertex3f(left, bottom, 0.0f);
}

}  // namespace

void draw(std::vector<std::string> const& lines)
{
    if (!fontReady())
        return;
    if (lines != s_shown_Lines) {
        upload(lines);
        s_shown_Lines = lines;
    }
    // Everything set here is put back, so that frames drawn after the overlay
    // is hidden are what they were before it was shown.
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    const float width = static_cast<float>(s_iTextWidth);
    const float height = static_cast<float>(s_iTextHeight);
    glColor4f(0.0f, 0.0f, 0.0f, 0.6f);
    glBegin(GL_QUADS);
    quad(0.0f, 0.0f, width + 2 * kMargin, height + 2 * kMargin, 0.0f, 0.0f);
    glEnd();
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, s_uTexture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glBegin(GL_QUADS);
    quad(kMargin, kMargin, kMargin + width, kMargin + height, width / kTextureWidth, height / kTextureHeight);
    glEnd();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glColor4fv(colour);
}

void clean()
{
    if (s_font == Font::open) {
        glDeleteTextures(1, &s_uTexture);
        TTF_CloseFont(s_pFont);
        TTF_Quit();
    }
    s_pFont = nullptr;
    s_font = Font::unopened;
    s_shown_Lines.clear();
}

}  // namespace overlay
