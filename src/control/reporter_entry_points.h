// The reporter's entry points on the control: the interactive report (ShowZeReporter), the
// automatic one (AutoZeReporter), the report status event's trigger and CurrentRecordset. The
// arguments are the members' own, in their order, already checked against the type library;
// by-reference ones may be changed for the caller.
#pragma once

#include "automation/dispatch.h"

namespace quelo {

class ZeQuelo;

// repRecordset, sPicFields, theGraphicFolder, forFutureUse, ObjReserved.
bool ShowZeReporter(ZeQuelo& control, Args& args);
// repRecordset, sPicFields, theGraphicFolder, fileName, FileTitle, AutoRepAction, forFutureUse,
// ObjReserved. False also when pages could not be written, or the report was refused (too many
// pages or fields): a report that lost pages is no success.
// A host's forward-only record set is copied into a static one, which the caller gets back; the
// source is closed.
bool AutoZeReporter(ZeQuelo& control, Args& args);
// TotalPages, ElapsedSeconds, CurrentPage, Cancel, DeleteGeneratedPagesOnCancel, forFututeUse:
// raises ReportStatus with them; the handler's answers come back in the last three.
void RaiseZeReportStatus(ZeQuelo& control, Args& args);
// The record set of the last report request that had records, re-queried when it can be.
Variant CurrentRecordset(ZeQuelo& control);

}  // namespace quelo
