// CaptionSyncIndex must give the plain walk's answer in every case.
#include "preview/caption_sync_index.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "preview/caption_preview.h"
#include "preview_document.h"

namespace cadenzio {
namespace {

SamiNode Sync(int32_t start, uint32_t class_mask) {
  return {.kind = SamiNodeKind::Sync, .class_mask = class_mask, .start = start};
}

TEST(CaptionSyncIndex, AgreesWithTheWalkOnRandomDocuments) {
  std::mt19937 random(7);
  for (int round = 0; round < 300; ++round) {
    SamiDocument doc;
    int32_t start = -50;
    for (int i = static_cast<int>(random() % 40); i > 0; --i) {
      start = round % 3 == 0 ? start + static_cast<int32_t>(random() % 3) * 10    // in order
                             : static_cast<int32_t>(random() % 12) * 10 - 20;    // repeats, negatives
      doc.nodes.push_back(Sync(start, static_cast<uint32_t>(random() % 4)));
      if (random() % 2) doc.nodes.push_back(SamiNode{});
    }
    CaptionSyncIndex index;
    for (uint32_t mask : {1u, 2u, 0u})
      for (int32_t position = -60; position <= 130; position += 5)
        ASSERT_EQ(index.Find(doc, position, mask), FindCaptionSync(doc, position, mask))
            << "round " << round << " mask " << mask << " position " << position;
  }
}

TEST(CaptionSyncIndex, NoticesChangedDocumentsAndIsResetForTheRest) {
  SamiDocument doc;
  doc.nodes = {Sync(100, 1), Sync(200, 1), Sync(300, 1)};
  doc.nodes.reserve(8);
  CaptionSyncIndex index;
  EXPECT_EQ(index.Find(doc, 350, 1), 2u);
  doc.nodes.push_back(Sync(240, 1));  // node count changed
  EXPECT_EQ(index.Find(doc, 350, 1), 3u);
  doc.nodes[1].start = 260;           // the sync it finds moved
  EXPECT_EQ(index.Find(doc, 250, 1), 0u);
  doc.nodes[1].start = 150;           // another sync moved: the owner resets the index
  index.Reset();
  EXPECT_EQ(index.Find(doc, 250, 1), 1u);
}

TEST(CaptionSyncIndex, RenderingWithTheIndexIsTheSame) {
  const SamiDocument doc = PreviewDocument(
      "<SYNC Start=300><P Class=KRCC>c\r\n<SYNC Start=100><P Class=KRCC>a\r\n"
      "<SYNC Start=200><P Class=KRCC>&nbsp;\r\n<SYNC Start=400><P Class=KRCC>d\r\n");
  CaptionSyncIndex index;
  for (int32_t position = 0; position <= 500; position += 50) {
    std::string plain, indexed;
    const int32_t start = doc.RenderCaption(position, kKorean, kInitialShownSyncStart, plain);
    EXPECT_EQ(std::pair(doc.RenderCaption(position, kKorean, kInitialShownSyncStart, indexed, &index), indexed),
              std::pair(start, plain)) << position;
  }
}

}  // namespace
}  // namespace cadenzio
