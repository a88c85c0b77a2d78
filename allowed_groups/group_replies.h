// What the receiver of the server's replies hands on, decoded. The form
// implements it; the receiver knows the form only through it.
#pragma once

#include <memory>

#include "allowed_groups/core/allowed_group_record.h"
#include "mml/mml.h"

class IGroupReplies {
 public:
  // A category reply that succeeded: its categories are in `reply`.
  virtual void OnCategories(mnm_hndl reply) = 0;
  // A category reply that failed: the form asks for the peer data instead.
  virtual void OnCategoriesRefused() = 0;
  // One group of a list-all reply, for the "View Allowed Group" list.
  virtual void OnListedGroup(std::unique_ptr<AllowedGroupRecord> record) = 0;

 protected:
  ~IGroupReplies() = default;
};
