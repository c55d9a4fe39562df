// The cached allow list is read again whenever the file may have changed, and only then.
#include "core/allow_list_cache.h"

#include <gtest/gtest.h>

#include "core/file_freshness.h"

namespace vexbane {
namespace {

constexpr uint64_t kSecond = kFileTicksPerSecond;
constexpr uint64_t kStart = 13'000'000'000ULL * kSecond;  // some day in 2012

// A file system with one file and a clock, both set by the test.
class FakeFile final : public AllowListFile {
 public:
  uint64_t clock = kStart;
  bool exists = true;
  bool readable = true;
  std::string text;
  FileStamp stamp;
  int reads = 0;
  int opens = 0;
  // The folder's change notification: off unless a test turns it on (as where none can be had).
  bool notifies = false;
  bool writtenSinceOpen = true;

  // A writer that writes at the clock's time: a new size and write time, the same file.
  void Rewrite(const std::string& t) {
    SilentRewrite(t);
    writtenSinceOpen = true;
  }
  // The same write where the folder sends no notification (a share that sends none).
  void SilentRewrite(const std::string& t) {
    text = t;
    stamp.size = t.size();
    stamp.lastWrite = clock;
  }
  // A writer that puts a new file in place (the editor's temporary file renamed over it).
  void Replace(const std::string& t) {
    Rewrite(t);
    stamp.creation = clock;
  }

  bool Unchanged() override { return notifies && !writtenSinceOpen; }
  bool Open(FileStamp& s) override {
    ++opens;
    writtenSinceOpen = false;
    if (!exists) {  // created empty, as the helper does with a missing list
      exists = true;
      text.clear();
      stamp = {0, clock, clock};
    }
    s = stamp;
    return true;
  }
  bool ReadAll(std::string& t) override {
    ++reads;
    if (!readable) return false;
    t = text;
    return true;
  }
  uint64_t Now() override { return clock; }
};

bool Allowed(AllowListCache& cache, FakeFile& file, const char* url, const std::string& path = "C:\\P\\WebSite.dat") {
  const AllowListMatcher* m = cache.Current(path, file);
  return m && m->Matches(url);
}

class AllowListCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_file.Replace("1\r\nnews\r\n");
    m_file.clock += 60 * kSecond;  // edited a minute before the browser starts
  }
  FakeFile m_file;
  AllowListCache m_cache;
};

TEST_F(AllowListCacheTest, FirstDecisionReadsAndLaterOnesTrustTheCopyOnceTheStampHasStoodStill) {
  EXPECT_TRUE(Allowed(m_cache, m_file, "http://news.example/"));
  EXPECT_EQ(m_file.reads, 1);
  // The stamp is new to this reader: read at every use until it has stood still for the margin.
  for (int i = 0; i < 5; ++i) {
    m_file.clock += kSecond / 10;
    EXPECT_FALSE(Allowed(m_cache, m_file, "http://other.example/"));
  }
  EXPECT_EQ(m_file.reads, 6);
  m_file.clock += kRacyMarginTicks;
  EXPECT_FALSE(Allowed(m_cache, m_file, "http://other.example/"));
  EXPECT_EQ(m_file.reads, 7) << "read once more, a margin after the stamp was first seen";
  for (int i = 0; i < 5; ++i) {
    m_file.clock += kSecond / 10;
    EXPECT_TRUE(Allowed(m_cache, m_file, "http://news.example/"));
  }
  EXPECT_EQ(m_file.reads, 7) << "an unchanged file is not read again";
}

TEST_F(AllowListCacheTest, EditorsSaveIsSeenByTheNextDecision) {
  EXPECT_FALSE(Allowed(m_cache, m_file, "http://shop.example/"));
  m_file.clock += kSecond;
  m_file.Replace("2\r\nnews\r\nshop\r\n");
  EXPECT_TRUE(Allowed(m_cache, m_file, "http://shop.example/"));
}

TEST_F(AllowListCacheTest, TheGenerationMovesOnlyWhenTheListIsBuiltAnew) {
  EXPECT_EQ(m_cache.generation(), 0u);
  ASSERT_TRUE(m_cache.Current("C:\\P\\WebSite.dat", m_file));
  const uint64_t first = m_cache.generation();
  EXPECT_NE(first, 0u);
  m_file.clock += kSecond / 10;
  ASSERT_TRUE(m_cache.Current("C:\\P\\WebSite.dat", m_file));
  EXPECT_EQ(m_file.reads, 2) << "read again: the stamp has not stood still yet";
  EXPECT_EQ(m_cache.generation(), first) << "the same text keeps the same list";
  m_file.clock += kSecond;
  m_file.Replace("2\r\nnews\r\nshop\r\n");
  ASSERT_TRUE(m_cache.Current("C:\\P\\WebSite.dat", m_file));
  const uint64_t second = m_cache.generation();
  EXPECT_NE(second, first) << "another text";
  m_file.readable = false;
  EXPECT_FALSE(m_cache.Current("C:\\P\\WebSite.dat", m_file));
  m_file.readable = true;
  ASSERT_TRUE(m_cache.Current("C:\\P\\WebSite.dat", m_file));
  EXPECT_NE(m_cache.generation(), second) << "built anew after a failed read, even from the same text";
}

TEST_F(AllowListCacheTest, SameSizeRewriteWithinTheSameSecondIsSeen) {
  // FAT keeps write times to 2 s: two writes a moment apart carry the same time and size.
  m_file.Rewrite("1\r\naaaa\r\n");
  EXPECT_TRUE(Allowed(m_cache, m_file, "http://aaaa.example/"));
  m_file.clock += kSecond / 2;
  const FileStamp before = m_file.stamp;
  m_file.text = "1\r\nbbbb\r\n";  // rewritten in place, stamp unchanged
  ASSERT_EQ(m_file.stamp, before);
  EXPECT_TRUE(Allowed(m_cache, m_file, "http://bbbb.example/"));
  EXPECT_FALSE(Allowed(m_cache, m_file, "http://aaaa.example/"));
}

TEST_F(AllowListCacheTest, CopyReadSoonAfterTheStampWasFirstSeenIsReadAgainUntilTheMarginHasPassed) {
  m_file.Rewrite("1\r\nnews\r\n");
  EXPECT_TRUE(Allowed(m_cache, m_file, "http://news.example/"));
  const AllowListMatcher* first = m_cache.Current("C:\\P\\WebSite.dat", m_file);
  EXPECT_EQ(m_file.reads, 2);
  m_file.clock += kRacyMarginTicks + kSecond;
  const AllowListMatcher* later = m_cache.Current("C:\\P\\WebSite.dat", m_file);
  EXPECT_EQ(later, first) << "the same text keeps its compiled list";
  EXPECT_EQ(m_file.reads, 3) << "read once more after the margin, then trusted";
  m_file.clock += kSecond;
  m_cache.Current("C:\\P\\WebSite.dat", m_file);
  EXPECT_EQ(m_file.reads, 3);
}

// The program folder on a network share: write times come from the server's clock. A list
// written by the server's clock long ago, and rewritten in place by another program within the
// same second of the server's clock (FAT keeps 2 s), is still read afresh.
TEST_F(AllowListCacheTest, AFileServersClockDecidesNothing) {
  for (int64_t serverLag : {int64_t{-3600}, int64_t{-10}, int64_t{10}, int64_t{3600}}) {
    FakeFile file;
    AllowListCache cache;
    file.clock += 3 * 3600 * kSecond;
    file.text = "1\r\naaaa\r\n";
    file.stamp = {file.text.size(), file.clock + serverLag * static_cast<int64_t>(kSecond), file.clock};
    EXPECT_TRUE(Allowed(cache, file, "http://aaaa.example/")) << serverLag;
    file.clock += kSecond / 2;
    EXPECT_TRUE(Allowed(cache, file, "http://aaaa.example/")) << serverLag;
    file.text = "1\r\nbbbb\r\n";  // rewritten in place: the same size and recorded write time
    file.clock += kSecond / 2;
    EXPECT_TRUE(Allowed(cache, file, "http://bbbb.example/")) << "server clock off by " << serverLag << " s";
    EXPECT_FALSE(Allowed(cache, file, "http://aaaa.example/")) << serverLag;
  }
}

TEST_F(AllowListCacheTest, RestoredOlderCopyIsSeen) {
  const FileStamp old = m_file.stamp;
  const std::string oldText = m_file.text;
  m_file.clock += 10 * kSecond;
  m_file.Rewrite("1\r\nlonger.example\r\n");
  m_file.clock += 60 * kSecond;
  EXPECT_TRUE(Allowed(m_cache, m_file, "http://longer.example/"));
  // The backup comes back with its own size and write time, on the same file.
  m_file.text = oldText;
  m_file.stamp.size = old.size;
  m_file.stamp.lastWrite = old.lastWrite;
  EXPECT_FALSE(Allowed(m_cache, m_file, "http://longer.example/"));
  EXPECT_TRUE(Allowed(m_cache, m_file, "http://news.example/"));
}

TEST_F(AllowListCacheTest, FileOfTheSameSizeAndTimeButCreatedAnewIsSeen) {
  EXPECT_TRUE(Allowed(m_cache, m_file, "http://news.example/"));
  m_file.text = "1\r\nshop\r\n";
  m_file.stamp.creation += kSecond;  // another file put in its place, keeping size and write time
  EXPECT_TRUE(Allowed(m_cache, m_file, "http://shop.example/"));
}

TEST_F(AllowListCacheTest, DeletedFileAllowsNothing) {
  EXPECT_TRUE(Allowed(m_cache, m_file, "http://news.example/"));
  m_file.clock += kSecond;
  m_file.exists = false;
  EXPECT_FALSE(Allowed(m_cache, m_file, "http://news.example/"));
  EXPECT_TRUE(m_file.exists) << "created again, empty";
}

TEST_F(AllowListCacheTest, UnreadableFileAllowsNothingAndIsNotRemembered) {
  m_file.readable = false;
  EXPECT_EQ(m_cache.Current("C:\\P\\WebSite.dat", m_file), nullptr);
  m_file.readable = true;
  EXPECT_TRUE(Allowed(m_cache, m_file, "http://news.example/"));
}

TEST_F(AllowListCacheTest, AClockSetBackStartsTheMarginAfreshRatherThanForHours) {
  EXPECT_TRUE(Allowed(m_cache, m_file, "http://news.example/"));
  m_file.clock -= 3600 * kSecond;
  for (int i = 0; i < 3; ++i) {
    m_file.clock += kSecond;
    EXPECT_TRUE(Allowed(m_cache, m_file, "http://news.example/"));
  }
  EXPECT_EQ(m_file.reads, 4) << "read at every use: the margin runs from the clock's new time";
  m_file.clock += kRacyMarginTicks;
  EXPECT_TRUE(Allowed(m_cache, m_file, "http://news.example/"));
  m_file.clock += kSecond;
  EXPECT_TRUE(Allowed(m_cache, m_file, "http://news.example/"));
  EXPECT_EQ(m_file.reads, 5) << "and trusted once it has run, not an hour later";
}

TEST_F(AllowListCacheTest, ATrustedCopyStaysTrustedWhenTheClockIsSetBack) {
  EXPECT_TRUE(Allowed(m_cache, m_file, "http://news.example/"));
  m_file.clock += kRacyMarginTicks;
  EXPECT_TRUE(Allowed(m_cache, m_file, "http://news.example/"));
  m_file.clock -= 3600 * kSecond;
  EXPECT_TRUE(Allowed(m_cache, m_file, "http://news.example/"));
  EXPECT_EQ(m_file.reads, 2);
  m_file.Replace("1\r\nshop\r\n");
  EXPECT_TRUE(Allowed(m_cache, m_file, "http://shop.example/")) << "a change is still seen";
}

TEST_F(AllowListCacheTest, AnotherPathIsAnotherList) {
  EXPECT_TRUE(Allowed(m_cache, m_file, "http://news.example/", "C:\\A\\WebSite.dat"));
  FakeFile other;
  other.Replace("1\r\nshop\r\n");
  other.clock += 60 * kSecond;
  other.stamp = m_file.stamp;  // even with an equal stamp
  EXPECT_FALSE(Allowed(m_cache, other, "http://news.example/", "C:\\B\\WebSite.dat"));
  EXPECT_TRUE(Allowed(m_cache, other, "http://shop.example/", "C:\\B\\WebSite.dat"));
}

// The steady state of a decision: a trusted copy in a quiet folder is not stamped again for a
// moment, while every write is still seen at the next decision.
TEST_F(AllowListCacheTest, ATrustedCopyInAQuietFolderIsStampedOnlyEveryFewSeconds) {
  m_file.notifies = true;
  EXPECT_TRUE(Allowed(m_cache, m_file, "http://news.example/"));
  m_file.clock += kRacyMarginTicks;
  EXPECT_TRUE(Allowed(m_cache, m_file, "http://news.example/"));  // read again, now trusted
  const int opens = m_file.opens;
  for (int i = 0; i < 19; ++i) {
    m_file.clock += kSecond / 10;
    EXPECT_TRUE(Allowed(m_cache, m_file, "http://news.example/"));
  }
  EXPECT_EQ(m_file.opens, opens) << "1.9 s of decisions in a quiet folder: no stamp";
  m_file.clock += kSecond / 10;
  EXPECT_TRUE(Allowed(m_cache, m_file, "http://news.example/"));
  EXPECT_EQ(m_file.opens, opens + 1) << "stamped again after kRestampTicks";
  EXPECT_EQ(m_file.reads, 2);
}

TEST_F(AllowListCacheTest, AWriteNotifiedInTheFolderIsSeenAtTheNextDecision) {
  m_file.notifies = true;
  EXPECT_FALSE(Allowed(m_cache, m_file, "http://shop.example/"));
  m_file.clock += kRacyMarginTicks;
  EXPECT_FALSE(Allowed(m_cache, m_file, "http://shop.example/"));
  m_file.clock += kSecond / 100;
  m_file.Rewrite("2\r\nnews\r\nshop\r\n");
  EXPECT_TRUE(Allowed(m_cache, m_file, "http://shop.example/")) << "\"Allow Site\" then the site's next window";
}

TEST_F(AllowListCacheTest, AnEditNoNotificationTellsOfIsSeenWithinTheMargin) {
  static_assert(kRestampTicks < kRacyMarginTicks, "a hand edit is seen within the freshness margin");
  m_file.notifies = true;
  EXPECT_FALSE(Allowed(m_cache, m_file, "http://shop.example/"));
  m_file.clock += kRacyMarginTicks;
  EXPECT_FALSE(Allowed(m_cache, m_file, "http://shop.example/"));
  m_file.clock += kSecond / 10;
  m_file.SilentRewrite("2\r\nnews\r\nshop\r\n");
  EXPECT_FALSE(Allowed(m_cache, m_file, "http://shop.example/")) << "not yet: nothing said it changed";
  m_file.clock += kRestampTicks;
  EXPECT_TRUE(Allowed(m_cache, m_file, "http://shop.example/"));
}

TEST_F(AllowListCacheTest, ACopyNotYetTrustedIsStampedAtEveryDecisionEvenInAQuietFolder) {
  m_file.notifies = true;
  for (int i = 0; i < 4; ++i) {
    m_file.clock += kSecond / 10;
    Allowed(m_cache, m_file, "http://news.example/");
  }
  EXPECT_EQ(m_file.opens, 4) << "within the margin after the stamp was first seen";
}

TEST(CopyStillTrusted, NeedsAnEqualStampAndAReadAMarginAfterTheStampWasFirstSeen) {
  const FileStamp s{10, kStart, kStart - kSecond};
  const uint64_t seen = kStart + 100 * kSecond;  // write times say nothing of this clock
  EXPECT_TRUE(CopyStillTrusted(s, seen, seen + kRacyMarginTicks, s));
  EXPECT_FALSE(CopyStillTrusted(s, seen, seen + kRacyMarginTicks - 1, s)) << "within the margin: racy";
  EXPECT_FALSE(CopyStillTrusted(s, seen, seen - kSecond, s)) << "read before it was seen: a clock set back";
  EXPECT_TRUE(CopyStillTrusted(s, 0, kRacyMarginTicks, s));
  for (FileStamp changed : {FileStamp{11, kStart, kStart - kSecond}, FileStamp{10, kStart + 1, kStart - kSecond},
                            FileStamp{10, kStart, kStart}})
    EXPECT_FALSE(CopyStillTrusted(s, seen, seen + 60 * kSecond, changed));
}

}  // namespace
}  // namespace vexbane
