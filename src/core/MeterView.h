#pragma once
// The drawing procedures of the meter display as the lower layers call them. The display
// implements them; the receive path and the meter engine only call. The view draws what
// it is given: the needle value comes from the meter engine, which decides it.
#include <cstdint>
#include <string>

namespace zk {

class MeterView {
 public:
  virtual ~MeterView() = default;
  virtual void Draw_Panel() = 0;
  // Draws the needle at value p (1/65536 of a turn), erasing the one shown before.
  virtual void Draw_Needle(int32_t p) = 0;
  virtual void Remove_Needle() = 0;
  virtual void Update_LED(int32_t color) = 0;  // paints the lamp and stores LedColor
  virtual void Update_ModeDisplay() = 0;
  virtual void Update_BaseDisplay(const std::string& text) = 0;
  virtual void Update_BdDisplay(const std::string& text) = 0;
  virtual void Update_SensKnob() = 0;
  virtual void Update_Graph(int32_t raw) = 0;
  // The 12-hour clock rewrites hour; callers pass temporaries.
  virtual void Update_Clock(int16_t& hour, int16_t& minute, int16_t& second, int32_t dateSerial) = 0;
  // Between the two, what is drawn is collected and reaches the screen in one piece at
  // Show_Held, within the present event, rather than after another round of events.
  virtual void Hold_Repaints() {}
  virtual void Show_Held() {}
};

// Holds the view's repaints for one reading: what the reading draws is shown when it ends,
// also when the drawing fails half way.
class HeldRepaints {
 public:
  explicit HeldRepaints(MeterView& view) : view_(view) { view_.Hold_Repaints(); }
  ~HeldRepaints() { view_.Show_Held(); }
  HeldRepaints(const HeldRepaints&) = delete;
  HeldRepaints& operator=(const HeldRepaints&) = delete;

 private:
  MeterView& view_;
};

}  // namespace zk
