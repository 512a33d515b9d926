#include "ui/menu_glyphs.h"

#include <array>
#include <map>
#include <utility>

namespace holvex {

namespace {

using Art = std::array<const char*, 16>;

// '.' (and any letter not listed) is the transparent colour, in every picture's bottom-left corner.
Rgb ArtColor(char c) {
  static const std::pair<char, Rgb> colors[] = {
      {'k', {40, 40, 40}},   {'w', {255, 255, 255}}, {'g', {200, 200, 200}}, {'G', {128, 128, 128}},
      {'b', {30, 80, 180}},  {'B', {130, 180, 240}}, {'n', {40, 150, 50}},   {'r', {200, 40, 30}},
      {'y', {245, 205, 80}}, {'Y', {180, 130, 40}},
  };
  for (const auto& [letter, color] : colors) {
    if (letter == c) return color;
  }
  return {255, 0, 255};
}

MenuBitmap FromArt(const Art& art) {
  MenuBitmap bitmap;
  bitmap.width = bitmap.height = 16;
  for (const char* row : art) {
    for (int x = 0; x < 16; ++x) bitmap.pixels.push_back(ArtColor(row[x]));
  }
  return bitmap;
}

const Art& ArtOf(MenuGlyph glyph) {
  // One picture row per line.
  // clang-format off
  static const std::map<MenuGlyph, Art> art = {
      {MenuGlyph::Add, {
          "..kkkkkkkk......",
          "..kwwwwwwkk.....",
          "..kwwwwwwkwk....",
          "..kwwwwwwkkkk...",
          "..kwwwwwwwwwk...",
          "..kwwwwwwwwwk...",
          "..kwwwwwwwwwk...",
          "..kwwwwwwwwwk...",
          "..kwwwwwwkkkk...",
          "..kwwwwwwknnk...",
          "..kwwwkkkknnkkkk",
          "..kwwwknnnnnnnnk",
          "..kwwwknnnnnnnnk",
          "..kwwwkkkknnkkkk",
          "..kwwwwwwknnk...",
          "..kkkkkkkkkkk...",
      }},
      {MenuGlyph::Save, {
          "................",
          ".kkkkkkkkkkkkkk.",
          ".kbkwwwwwwwwkbk.",
          ".kbkwwwwwwwwkbk.",
          ".kbkwGGGGGGwkbk.",
          ".kbkwwwwwwwwkbk.",
          ".kbkwGGGGGGwkbk.",
          ".kbkwwwwwwwwkbk.",
          ".kbbkkkkkkkkbbk.",
          ".kbbbbbbbbbbbbk.",
          ".kbbggggggggbbk.",
          ".kbbgkkgggggbbk.",
          ".kbbgkkgggggbbk.",
          ".kbbgkkgggggbbk.",
          ".kkkkkkkkkkkkkk.",
          "................",
      }},
      {MenuGlyph::TextFile, {
          "..kkkkkkkk......",
          "..kwwwwwwkk.....",
          "..kwwwwwwkwk....",
          "..kwGGGGwkkkk...",
          "..kwwwwwwwwwk...",
          "..kwGGGGGGGwk...",
          "..kwwwwwwwwwk...",
          "..kwGGGGGGGwk...",
          "..kwwwwwwwwwk...",
          "..kwGGGGGGGwk...",
          "..kwwwwwwwwwk...",
          "..kwGGGGGGGwk...",
          "..kwwwwwwwwwk...",
          "..kwGGGGGwwwk...",
          "..kwwwwwwwwwk...",
          "..kkkkkkkkkkk...",
      }},
      {MenuGlyph::Exit, {
          ".kkkkkkkk.......",
          ".kYYYYYYk.......",
          ".kYyyyyYk.......",
          ".kYyyyyYk.......",
          ".kYyyyyYk..k....",
          ".kYyyyyYk..kk...",
          ".kYyyyykkkkkrk..",
          ".kYykyyrrrrrrrk.",
          ".kYyyyykkkkkrk..",
          ".kYyyyyYk..kk...",
          ".kYyyyyYk..k....",
          ".kYyyyyYk.......",
          ".kYyyyyYk.......",
          ".kYyyyyYk.......",
          ".kYYYYYYk.......",
          ".kkkkkkkk.......",
      }},
      {MenuGlyph::Settings, {
          "................",
          "...kkk..........",
          "...kbk..........",
          "GGGkbkGGGGGGGGGG",
          "...kbk..........",
          "...kkk...kkk....",
          ".........kbk....",
          "GGGGGGGGGkbkGGGG",
          ".........kbk....",
          ".....kkk.kkk....",
          ".....kbk........",
          "GGGGGkbkGGGGGGGG",
          ".....kbk........",
          ".....kkk........",
          "................",
          "................",
      }},
      {MenuGlyph::Globe, {
          "................",
          ".....kkkkkk.....",
          "...kkbbnnbbkk...",
          "..kbbnnnnbbbbk..",
          "..kbnnnnbbbnbk..",
          ".kbbnnnbbbnnnbk.",
          ".kbbbnnbbbnnnbk.",
          ".kbbbbnbbbbnnbk.",
          ".kbbbbbbbbbnbbk.",
          ".kbbbnnbbbbbbbk.",
          ".kbbnnnnnbbbbbk.",
          "..kbbnnnnbbbbk..",
          "..kbbbnnbbbbbk..",
          "...kkbbbbbbkk...",
          ".....kkkkkk.....",
          "................",
      }},
      {MenuGlyph::Trash, {
          "................",
          "......kkkk......",
          "..kkkkkggkkkkk..",
          "..kggggggggggk..",
          "..kkkkkkkkkkkk..",
          "...kgGgGgGgGk...",
          "...kgGgGgGgGk...",
          "...kgGgGgGgGk...",
          "...kgGgGgGgGk...",
          "...kgGgGgGgGk...",
          "...kgGgGgGgGk...",
          "...kgGgGgGgGk...",
          "...kgGgGgGgGk...",
          "...kgGgGgGgGk...",
          "...kkkkkkkkkk...",
          "................",
      }},
      {MenuGlyph::Info, {
          "................",
          ".....kkkkkk.....",
          "...kkbbbbbbkk...",
          "..kbbbbwwbbbbk..",
          "..kbbbbwwbbbbk..",
          ".kbbbbbbbbbbbbk.",
          ".kbbbbwwwbbbbbk.",
          ".kbbbbbwwbbbbbk.",
          ".kbbbbbwwbbbbbk.",
          ".kbbbbbwwbbbbbk.",
          ".kbbbbbwwbbbbbk.",
          "..kbbbwwwwbbbk..",
          "..kbbbbbbbbbbk..",
          "...kkbbbbbbkk...",
          ".....kkkkkk.....",
          "................",
      }},
      {MenuGlyph::Mail, {
          "................",
          "................",
          "................",
          "kkkkkkkkkkkkkkkk",
          "kkwwwwwwwwwwwwkk",
          "kwkwwwwwwwwwwkwk",
          "kwwkwwwwwwwwkwwk",
          "kwwwkwwwwwwkwwwk",
          "kwwwwkwwwwkwwwwk",
          "kwwwkwkkkkwkwwwk",
          "kwwkwwwwwwwwkwwk",
          "kwkwwwwwwwwwwkwk",
          "kkwwwwwwwwwwwwkk",
          "kkkkkkkkkkkkkkkk",
          "................",
          "................",
      }},
      {MenuGlyph::House, {
          "................",
          ".......kk.......",
          "......krrk......",
          ".....krrrrk.....",
          "....krrrrrrk....",
          "...krrrrrrrrk...",
          "..krrrrrrrrrrk..",
          ".kkkkkkkkkkkkkk.",
          "..kyyyyyyyyyyk..",
          "..kyBBykkkyyyk..",
          "..kyBBykYkyyyk..",
          "..kyyyykYkyyyk..",
          "..kyyyykYkyyyk..",
          "..kyyyykYkyyyk..",
          "..kkkkkkkkkkkk..",
          "................",
      }},
      {MenuGlyph::Update, {
          "................",
          ".....kkkkkk.....",
          ".....knnnnk.....",
          ".....knnnnk.....",
          ".....knnnnk.....",
          ".....knnnnk.....",
          "..kkkknnnnkkkk..",
          "...knnnnnnnnk...",
          "....knnnnnnk....",
          ".....knnnnk.....",
          "......knnk......",
          ".......kk.......",
          "................",
          ".kkkkkkkkkkkkkk.",
          ".kGGGGGGGGGGGGk.",
          ".kkkkkkkkkkkkkk.",
      }},
  };
  // clang-format on
  return art.at(glyph);
}

}  // namespace

const MenuBitmap& MenuGlyphBitmap(MenuGlyph glyph) {
  static std::map<MenuGlyph, MenuBitmap> cache;
  auto it = cache.find(glyph);
  if (it == cache.end()) it = cache.emplace(glyph, FromArt(ArtOf(glyph))).first;
  return it->second;
}

}  // namespace holvex
