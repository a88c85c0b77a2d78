// The contract between the terminal and its plug-ins.
//
// The terminal exports the pu_ functions and GetVelaRxControl from its
// executable under undecorated names; a plug-in finds them at the moment of
// use with GetProcAddress on the main program's module handle. A CString
// passed by value is a copy the callee owns. The plug-in exports the five
// entry points below; the terminal finds them with dlsym on the loaded
// library. Both sides share the framework library, so a CString or a window
// object is the same type on either side of the boundary.
#pragma once

#include <cstdint>

#include "mml/mml.h"
#include "platform/base/collections.h"
#include "platform/base/cstring.h"

class CWnd;

// The receiver a plug-in registers for replies. Two operations in this slot
// order; no virtual destructor, so the table holds exactly these two.
class CVelaRxNotifierBase {
 public:
  // Connection events; the arguments are the terminal's.
  virtual void OnRxEvent(int32_t a, int32_t b, int32_t c, int32_t d, int32_t e) = 0;
  // One reply: `reply` is the parsed tagged message, valid only during the
  // call. The other arguments are the terminal's and are not read.
  virtual void OnRxMessage(int32_t session, mnm_hndl reply, int32_t reserved1, int32_t reserved2) = 0;

 protected:
  ~CVelaRxNotifierBase() = default;
};

// The host channel: the terminal's object that takes finished requests.
class CVelaHostChannel {
 public:
  // Sends the message `request` holds (its bytes in its current buffer).
  // Non-zero: accepted for sending; zero: refused, with *error set.
  // *sequence receives a value of the terminal's choosing.
  virtual int SendRequest(int32_t* sequence, mnm_hndl request, int32_t reserved, int* error) = 0;

 protected:
  ~CVelaHostChannel() = default;
};

// The block the terminal hands to InitTarnPlugin. Its ninth field is the
// window that becomes the form's parent; fields are pointer-sized here.
struct sTarnHostRecord {
  void* apReserved[8];
  CWnd* pParentWnd;
  void* apMore[7];
};

// Terminal exports, looked up by these names.
using PFN_pu_get_peer_data = int (*)(CString& first, CString& second, CString& userId);
using PFN_GetVelaRxControl = CVelaHostChannel* (*)(int reserved, CVelaRxNotifierBase* receiver);
using PFN_pu_add_to_tabbed_log = void (*)(CString text);
using PFN_pu_load_exchange_combo = void (*)(CWnd* form, int comboId);
using PFN_pu_load_product_type_combo = void (*)(CWnd* form, int comboId);
using PFN_pu_fill_scrip_combos_with_bse_grp = void (*)(CWnd* form, int exchangeId, int instrumentId, int symbolId,
                                                       int expiryId, int optionTypeId, int strikeId, int level);
// Fills a block of kScripDetailsCount texts; the first is the instrument name.
using PFN_pu_get_scrip_details_from_TradSymbol = void (*)(CString exchange, CString tradingSymbol, CString* details);
constexpr int kScripDetailsCount = 14;

// Plug-in entry points, exported by these names.
using PFN_GetTarnPluginInfo = int (*)(CString& name, CString& version, void* unused, uint32_t* stamp, uint32_t* code);
using PFN_InitTarnPlugin = void (*)(sTarnHostRecord* host, const char* userId, void* unused, CString unusedText);
using PFN_ProcessTarnPluginMsg = int (*)();
using PFN_PluginProcessHotKey = void (*)(CString& key, int flag);
using PFN_GetOptionalTarnPluginInfo = void (*)(CString& menuTitle, CStringArray& first, CStringArray& hotKeys,
                                               CStringArray& captions, CArray<int, int>& values);
