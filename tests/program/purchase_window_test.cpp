// The purchase window: opened from the catalogue panel only, at the purchase page, with the
// service number in its title once per load.
#include "tests/program/platform_fixture.h"

namespace kesto::testing {
namespace {

constexpr char kLayoutTitle[] = "自全动自助购买系统 过程中出现问题联系 官方QQ：";

class PurchaseWindowTest : public PlatformTest {
 protected:
  void Open(const ui::Ref& panel) {
    headless::FireElementEvent(panel, ui::kEventClick, "", "qmzpay");
  }
  Text Title() const { return ui::GetText(refs::kPurchaseWindow, ui::prop::window::kTitle); }
};

TEST_F(PurchaseWindowTest, BuiltInValuesGiveTheDefaultNumberAndPaymentSite) {
  folder_.Write("reg.qmz", "0var?don-");  // not enciphered: the built-in values stand
  folder_.AddApp("", "memo", "", false);
  ASSERT_EQ(Start({"-qmz"}), std::nullopt);
  Open(refs::kSidePanel);
  EXPECT_FALSE(headless::IsLoaded(names::kPurchaseWindow));
  Open(refs::kCataloguePanel);
  EXPECT_EQ(Title(), Text(kLayoutTitle) + "4702519");
  EXPECT_EQ(headless::Navigations(refs::kPurchaseBrowser).back(),
            ui::GetText(refs::kPurchaseLink, ui::prop::hyperlinker::kWebAddress));
}

TEST_F(PurchaseWindowTest, TheNumberIsAppendedOncePerLoadHoweverOftenItIsOpened) {
  WriteStandardRegFile();
  folder_.AddApp("", "memo", "", false);
  ASSERT_EQ(Start({"-qmz"}), std::nullopt);
  Open(refs::kCataloguePanel);
  ui::SetText(refs::kPurchaseBrowser, ui::prop::browser::kUrl, "http://elsewhere.example/");
  Open(refs::kCataloguePanel);
  EXPECT_EQ(Title(), Text(kLayoutTitle) + "5551234");
  EXPECT_EQ(headless::Navigations(refs::kPurchaseBrowser).back(), "http://pay.test.example/buy");

  ui::CloseWindow(names::kPurchaseWindow);
  Drain();
  Open(refs::kCataloguePanel);
  EXPECT_EQ(Title(), Text(kLayoutTitle) + "5551234");
}

}  // namespace
}  // namespace kesto::testing
