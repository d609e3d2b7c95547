// vqrPictureCacheTest.cpp - pictures stored by position, in memory and in temporary files.
#include "report/core/vqrPictureCache.h"

#include <gtest/gtest.h>

#include "platform/rtl/SysUtils.h"
#include "report/core/vqrXML.h"

namespace {

TEST(PictureCache, StoresPicturesBackToBack) {
  TvqrPictureCache Cache;
  EXPECT_EQ(Cache.AddPicture(nullptr), 0);
  EXPECT_EQ(Cache.AddBytes("first"), 1);
  EXPECT_EQ(Cache.AddBytes("second!"), 2);
  EXPECT_EQ(Cache.PictureBytes(1), "first");
  EXPECT_EQ(Cache.PictureBytes(2), "second!");
  EXPECT_EQ(Cache.PictureBytes(0), "");
  EXPECT_EQ(Cache.PictureBytes(3), "");
  Cache.SetUseFileCache(true);  // ignored: the cache has a segment already
  EXPECT_FALSE(Cache.UseFileCache());
}

TEST(PictureCache, RoundTripsThroughXMLAndStopsAtBadHex) {
  TvqrPictureCache Cache;
  Cache.AddBytes(std::string("\x00\xFF\x10", 3));
  Cache.AddBytes("ab");
  TvqrXMLItem Item;
  Cache.SaveToXML(&Item);
  ASSERT_EQ(Item.Count(), 2);
  EXPECT_EQ(Item.Items(0)->Name(), u"item");
  EXPECT_EQ(Item.Items(0)->Text(), u"stream=\"00FF10\"");

  TvqrPictureCache Loaded;
  Loaded.LoadFromXML(&Item);
  EXPECT_EQ(Loaded.Count(), 2);
  EXPECT_EQ(Loaded.PictureBytes(1), std::string("\x00\xFF\x10", 3));
  EXPECT_EQ(Loaded.PictureBytes(2), "ab");

  Item.Items(1)->SetText(u"stream=\"61ZZ62\"");
  Loaded.LoadFromXML(&Item);
  EXPECT_EQ(Loaded.PictureBytes(2), "a");
}

TEST(PictureCache, FileSegmentsAreTemporaryFiles) {
  String Name;
  {
    TvqrPictureCache Cache;
    Cache.SetUseFileCache(true);
    Cache.AddBytes("pixels");
    ASSERT_EQ(Cache.FileNames().size(), 1u);
    Name = Cache.FileNames()[0];
    EXPECT_EQ(ExtractFileName(Name).substr(0, 5), u"vqPic");
    EXPECT_TRUE(FileExists(Name));
    EXPECT_EQ(Cache.PictureBytes(1), "pixels");
    Cache.Clear();
    EXPECT_FALSE(FileExists(Name));
    Cache.AddBytes("again");
    Name = Cache.FileNames()[0];
  }
  EXPECT_FALSE(FileExists(Name));
}

}  // namespace
