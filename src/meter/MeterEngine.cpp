#include "meter/MeterEngine.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "base/Numbers.h"
#include "meter/Counters.h"

namespace zk {

namespace {

constexpr int History = 16;  // raw readings kept for the smoothing window
constexpr int MinWindow = 3;
constexpr int MaxWindow = 10;
constexpr int32_t SteadyBand = 100;       // change over 16 readings that counts as steady
constexpr int32_t ContinuousTurn = 8000;  // continuous dial: where the needle jumps back
constexpr int16_t BdTotalMax = 32767;

// Folds a needle product into -32768..32767, so a circular needle turns without limit.
int32_t WrapTurn(int64_t v) {
  int64_t r = (v + 32768) % 65536;
  if (r < 0) r += 65536;
  return static_cast<int32_t>(r - 32768);
}

}  // namespace

MeterEngine::MeterEngine(Context& ctx, const SensitivityTable& table) : ctx_(ctx), table_(table) {}

// ---------------------------------------------------------------------------------------
// Smoothing

void MeterEngine::Filter() {
  SessionState& st = ctx_.state;
  auto& h = st.FilterHistory;  // h[1] newest .. h[16] oldest
  st.FilterLength = static_cast<int16_t>(std::clamp<int>(st.FilterLength, MinWindow, MaxWindow));

  if (st.ResetPending) {
    std::fill(h.begin() + 1, h.begin() + 1 + History, st.RawReading);
  } else {
    std::copy_backward(h.begin() + 1, h.begin() + History, h.begin() + 1 + History);
    h[1] = st.RawReading;
  }

  int64_t sum = 0;
  for (int i = 1; i <= st.FilterLength; ++i) sum += h[i];
  st.FilteredReading = CInt32(static_cast<double>(sum) / st.FilterLength);

  // A reading on the move shrinks the window so the needle keeps up; a steady one grows
  // it back for a calm needle. The new length is clamped at the next call.
  const int32_t d = std::abs(h[1] - h[History]);
  if (d > SteadyBand)
    --st.FilterLength;
  else if (d < SteadyBand)
    ++st.FilterLength;
}

// ---------------------------------------------------------------------------------------
// One sample

void MeterEngine::Show_Reading() {
  const HeldRepaints held(ctx_.view);
  Process_Sample();
  Update_Needle();
  if (ctx_.settings.GraphVisible) ctx_.view.Update_Graph(ctx_.state.RawReading);
}

void MeterEngine::Process_Sample() {
  const SessionState& st = ctx_.state;
  if (st.OperatingMode == ModePlayback && !st.PlaybackOverride)
    Playback_Sample();
  else
    Live_Sample();
}

void MeterEngine::Live_Sample() {
  SessionState& st = ctx_.state;
  const Settings& set = ctx_.settings;
  auto& mh = st.MotionHistory;  // [0] newest, [1] previous, [2] one before

  if (st.ResetPending) mh[1] = mh[0] = st.RawReading;
  if (st.SyncTestActive)
    st.FilteredReading = st.RawReading;
  else
    Filter();

  mh[2] = mh[1];
  mh[1] = mh[0];
  mh[0] = st.RawReading;

  // Body motion: a sharp bend in the raw readings (their second difference).
  const int64_t bend = static_cast<int64_t>(mh[0]) - 2 * static_cast<int64_t>(mh[1]) + mh[2];
  const double now = ctx_.clock.Timer();
  if (std::llabs(bend) > st.BodyMotionLimit) {
    ctx_.view.Update_LED(set.LED_BM_Color);
    if (set.FreezeEnable) st.NeedleFrozen = true;
    st.BodyMotionActive = true;
    st.MotionTime = now;
  }

  if (st.BodyMotionActive && Timer_Elapsed(st.MotionTime, now) > st.BodyMotionHold) {
    if (set.DialType == DialTraditional) {
      // Re-read the base once; the needle itself is not re-set. A SET request that
      // waited for the freeze to end stays pending for Calc_Needle.
      const bool waiting = st.NeedleSetRequest;
      st.NeedleSetRequest = true;
      Calc_Base();
      st.NeedleSetRequest = waiting;
    }
    st.BodyMotionActive = false;
    st.NeedleFrozen = false;
    ctx_.view.Update_LED(set.Dial_Color);
  }
}

void MeterEngine::Playback_Sample() {
  SessionState& st = ctx_.state;
  Settings& set = ctx_.settings;
  const SampleRecord& rec = st.WorkRecord;

  if (rec.Marker == 'T') {
    st.TagCount = rec.Tag;
    Show_TagCount(ctx_);
  }

  if (st.ResetPending) {
    st.MotionHistory[1] = st.MotionHistory[0] = st.RawReading;
    st.BaseText = Base_Text(rec.BaseStep);
    ctx_.view.Update_BaseDisplay(st.BaseText);
    st.BdText = Bd_Text(rec.BdValue);
    st.BdCountEnabled = (rec.Flags & RecordFlags::BdCount) != 0;
    ctx_.view.Update_BdDisplay(st.BdText);
    Adopt_Dial_Type(rec.Flags);
    st.LastPlayFlags = 0;
  }

  // A damaged record may carry a step the knob does not have; the nearest end is used.
  const int16_t step = std::min<int16_t>(rec.Sensitivity, SensitivityTable::MaxStep);
  if (step != set.SensitivityIndex) {
    set.SensitivityIndex = step;
    ctx_.view.Update_SensKnob();
  }

  if (rec.Flags != st.LastPlayFlags) {
    const uint8_t changed = rec.Flags ^ st.LastPlayFlags;
    if (changed & RecordFlags::LampMask) Show_Recorded_Lamp(rec.Flags & RecordFlags::LampMask);
    st.NeedleFrozen = (rec.Flags & RecordFlags::Frozen) != 0;
    if (changed & RecordFlags::BdCount) {
      st.BdCountEnabled = (rec.Flags & RecordFlags::BdCount) != 0;
      ctx_.view.Update_BdDisplay(st.BdText);
    }
    Adopt_Dial_Type(rec.Flags);
    st.LastPlayFlags = rec.Flags;
  }

  if (rec.BaseStep != st.LastPlayBase) {
    const std::string& base = Base_Text(rec.BaseStep);
    if (base != st.BaseText) {
      st.BaseText = base;
      ctx_.view.Update_BaseDisplay(st.BaseText);
    }
    std::string bd = Bd_Text(rec.BdValue);
    if (bd != st.BdText) {
      st.BdText = std::move(bd);
      ctx_.view.Update_BdDisplay(st.BdText);
    }
    st.LastPlayBase = rec.BaseStep;
  }
}

void MeterEngine::Show_Recorded_Lamp(uint8_t lamp) {
  SessionState& st = ctx_.state;
  const Settings& set = ctx_.settings;
  switch (lamp) {
    case 1: ctx_.view.Update_LED(set.LED_Set_Color); break;
    case 2:
      ctx_.view.Update_LED(set.LED_BM_Color);
      st.BodyMotionActive = true;
      break;
    case 3: ctx_.view.Update_LED(set.LED_Lag_Color); break;
    default:
      ctx_.view.Update_LED(set.Dial_Color);
      st.BodyMotionActive = false;
      break;
  }
}

void MeterEngine::Adopt_Dial_Type(uint8_t flags) {
  const int32_t type = flags >> RecordFlags::DialTypeShift;
  // Only the four dials exist; a damaged record naming another keeps the current dial.
  if (type > DialCircular2 || type == ctx_.settings.DialType) return;
  ctx_.settings.DialType = type;
  ctx_.view.Draw_Panel();
}

// ---------------------------------------------------------------------------------------
// Needle

void MeterEngine::Set_Needle_Lamp() {
  ctx_.timers.tmrLED.Stop();
  ctx_.timers.tmrLED.Start();
  ctx_.view.Update_LED(ctx_.settings.LED_Set_Color);
}

// Products are taken in 64 bits: for readings 0..65535 they always fit 32 bits, and an
// out-of-range reading from a caller still cannot overflow.
static int64_t Scaled(int32_t multiplier, int32_t reference, int32_t reading) {
  return static_cast<int64_t>(multiplier) * (static_cast<int64_t>(reference) - reading);
}

int32_t MeterEngine::Calc_Needle(int32_t reading) {
  SessionState& st = ctx_.state;
  const Settings& set = ctx_.settings;
  const int32_t m = table_.Multiplier(set.SensitivityIndex);
  const bool stepChanged = set.SensitivityIndex != st.LastSensitivityIndex;
  const int32_t type = set.DialType;
  int32_t needle = 0;
  if (st.ResetPending) {
    st.NeedleReference = reading;
    needle = (type == DialTraditional || type == DialContinuous) ? Needle::SetMark : 0;
  } else if (type == DialTraditional || type == DialContinuous) {
    needle = Arc_Needle(reading, m, stepChanged);
  } else if (type == DialCircular1 || type == DialCircular2) {
    needle = Circular_Needle(reading, m, stepChanged);
  }
  st.LastSensitivityIndex = set.SensitivityIndex;
  st.LastNeedle = needle;
  return needle;
}

// The traditional and continuous dials: the needle from the SET mark, frozen or following.
int32_t MeterEngine::Arc_Needle(int32_t reading, int32_t m, bool stepChanged) {
  SessionState& st = ctx_.state;
  // Keep the needle where it stands when the gain changes or while it is frozen: move
  // the reference so that the needle continues from there.
  const int32_t keep = static_cast<int32_t>(IntDiv(st.LastNeedle - Needle::SetMark, m) + reading);
  if (stepChanged) st.NeedleReference = keep;
  if (st.NeedleFrozen) {
    st.NeedleReference = keep;
    return st.LastNeedle;
  }
  int32_t needle = 0;
  if (ctx_.settings.DialType == DialTraditional) {
    const int64_t v = Scaled(m, st.NeedleReference, reading) + Needle::SetMark;
    if (v > Needle::ScaleEnd) {
      needle = Needle::Overshoot;
      if (!ctx_.timers.tmrFall.Enabled()) ctx_.timers.tmrFall.Start();
    } else if (v < -Needle::ScaleEnd) {
      needle = -Needle::Overshoot;
      if (!ctx_.timers.tmrRise.Enabled()) ctx_.timers.tmrRise.Start();
    } else {
      needle = static_cast<int32_t>(v);
      if (ctx_.timers.tmrFall.Enabled()) ctx_.timers.tmrFall.Stop();
      if (ctx_.timers.tmrRise.Enabled()) ctx_.timers.tmrRise.Stop();
    }
  } else {
    // The continuous dial has no end: past +-8000 the needle jumps back to about
    // -6000 / +6000 and goes on from there.
    const int64_t w = Scaled(m, st.NeedleReference, reading) + Needle::SetMark;
    if (w > ContinuousTurn)
      st.NeedleReference = reading + static_cast<int32_t>(IntDiv(-3497, m));
    else if (w < -ContinuousTurn)
      st.NeedleReference = reading + static_cast<int32_t>(IntDiv(8503, m));
    needle = static_cast<int32_t>(Scaled(m, st.NeedleReference, reading) + Needle::SetMark);
  }
  if (st.NeedleSetRequest) {
    st.NeedleSetRequest = false;
    st.NeedleReference = reading;
    needle = Needle::SetMark;
    Set_Needle_Lamp();
  }
  return needle;
}

// The two circular dials: a whole turn each way, and a SET request served even while frozen.
int32_t MeterEngine::Circular_Needle(int32_t reading, int32_t m, bool stepChanged) {
  SessionState& st = ctx_.state;
  const int32_t keep = static_cast<int32_t>(IntDiv(st.LastNeedle, m) + reading);
  if (stepChanged) st.NeedleReference = keep;
  int32_t needle = st.LastNeedle;
  if (st.NeedleFrozen)
    st.NeedleReference = keep;
  else
    needle = WrapTurn(Scaled(m, st.NeedleReference, reading));
  if (st.NeedleSetRequest) {
    st.NeedleSetRequest = false;
    st.NeedleReference = reading;
    needle = 0;
    Set_Needle_Lamp();
  }
  return needle;
}

float MeterEngine::CAng(float angle) {
  constexpr float Turn = 6.28318f;
  if (angle == 0.0f) return 0.00001f;
  if (angle > Turn) return angle - Turn;
  if (angle < 0.0f) return angle + Turn;
  return angle;
}

// ---------------------------------------------------------------------------------------
// Base and BD

uint8_t MeterEngine::Base_Step(int32_t raw) {
  const int64_t c = CInt32(std::clamp(raw, 0, 65535) / 2.0);
  return static_cast<uint8_t>(IntDiv(IntDiv(c * 61550, 32768) + 1170, 256));
}

const std::string& MeterEngine::Base_Text(uint8_t step) {
  // Every step has one fixed text; build them once instead of formatting per reading.
  static const std::array<std::string, 256> texts = [] {
    std::array<std::string, 256> t;
    for (int s = 0; s < 256; ++s) t[s] = Format_0_0h((s / 2 + 8) / 20.0);
    return t;
  }();
  return texts[step];
}

std::string MeterEngine::Bd_Text(int32_t bdValue) {
  const double shown = bdValue / 10.0;
  return bdValue > 999 ? Format_000(shown) : Format_h0_0(shown);
}

void MeterEngine::Calc_Base() {
  SessionState& st = ctx_.state;
  const Settings& set = ctx_.settings;
  const bool traditional = set.DialType == DialTraditional;

  // The first reading after a playback: the readouts still show the recording's values,
  // so the base is read from the sensor whatever the dial, and no drop is counted across
  // the time the meter was not watching.
  if (st.BaseRefreshPending) {
    st.BaseRefreshPending = false;
    st.LastBaseStep = Base_Step(st.RawReading);
    Show_Base(st.LastBaseStep);
    ctx_.view.Update_BdDisplay(st.BdText);
    return;
  }

  // On the traditional dial the base moves only when the needle is SET, unless the
  // needle-BD option is on.
  if (traditional && !set.NeedleBdEnable && !st.NeedleSetRequest) return;

  const uint8_t step = Base_Step(st.RawReading);
  st.BaseDrop = static_cast<int16_t>(st.LastBaseStep - step);
  st.LastBaseStep = step;

  // Drops count only while BD counting is on and no body motion is going on.
  if (traditional) {
    if (st.BodyMotionActive || !st.BdCountEnabled) st.BaseDrop = 0;
  } else {
    if (st.BodyMotionActive) return;
    if (!st.BdCountEnabled) st.BaseDrop = 0;
  }

  if (st.BaseDrop > 0) {
    // The total holds at its 16-bit limit (BD 819.1) rather than wrapping.
    st.BdTotal = static_cast<int16_t>(std::min<int32_t>(st.BdTotal + st.BaseDrop, BdTotalMax));
    std::string bd = Bd_Text(st.BdTotal / 4);
    if (bd != st.BdText) {
      st.BdText = std::move(bd);
      ctx_.view.Update_BdDisplay(st.BdText);
    }
  }

  Show_Base(step);
}

void MeterEngine::Show_Base(uint8_t step) {
  SessionState& st = ctx_.state;
  const std::string& base = Base_Text(step);
  if (base != st.BaseText) {
    st.BaseText = base;
    ctx_.view.Update_BaseDisplay(st.BaseText);
  }
  st.WorkRecord.BaseStep = step;
  st.WorkRecord.BdValue = static_cast<int16_t>(st.BdTotal / 4);
}

// ---------------------------------------------------------------------------------------
// The needle step

void MeterEngine::Update_Needle() {
  if (ctx_.state.ResetPending) ctx_.view.Draw_Panel();
  const int32_t p = Needle_Position();
  ctx_.view.Draw_Needle(p);
  Needle_Drawn(p);
}

int32_t MeterEngine::Needle_Position() {
  SessionState& st = ctx_.state;
  int32_t p;
  if (st.OperatingMode == ModePlayback && !st.PlaybackOverride) {
    p = st.WorkRecord.Needle;
  } else {
    Calc_Base();
    p = Calc_Needle(st.FilteredReading);
  }
  if (st.SyncTestActive) p = st.SyncValue;
  return p;
}

void MeterEngine::Needle_Drawn(int32_t p) {
  SessionState& st = ctx_.state;
  if (st.OperatingMode == ModeRecording && sink_)
    sink_->Record_Sample(CInt16(p), static_cast<uint8_t>(st.RecSampleKind));
  st.ResetPending = false;
}

}  // namespace zk
