// Tags of the allowed-group requests and replies.
#pragma once

#include <cstdint>

namespace tag {

constexpr int32_t kRequestName = 0;
constexpr int32_t kUserIdSession = 31003;  // category and peer-data requests
constexpr int32_t kUserId = 54247;         // group requests
constexpr int32_t kCategory = 13034;
constexpr int32_t kExchangeCode = 63001;
constexpr int32_t kInstrumentCash = 10610;  // instrument for NSE; the BSE group (option type) for BSE
constexpr int32_t kInstrument = 10106;
constexpr int32_t kSymbol = 3;
constexpr int32_t kTradingSymbol = 63100;  // symbol for BSE
constexpr int32_t kOptionType = 63006;
constexpr int32_t kProduct = 64030;
constexpr int32_t kSide = 12003;
constexpr int32_t kStrike = 66;
constexpr int32_t kExpiry = 46002;

// Replies only.
constexpr int32_t kReplyName = 32767;
constexpr int32_t kReplyStatus = 32766;

}  // namespace tag
