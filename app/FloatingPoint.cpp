#include "app/FloatingPoint.h"

#include <windows.h>

#include "calc/Exceptions.h"

namespace {

// The x87 status word's exception flags, summary and stack-fault bits.
constexpr uint16_t kStatusExceptionBits = 0x00FF;

// Which fault the stub is about to throw, per thread.
thread_local DWORD pendingFault = 0;

bool IsBridgedFault(DWORD code) {
  return code == STATUS_FLOAT_DIVIDE_BY_ZERO || code == STATUS_FLOAT_INVALID_OPERATION ||
         code == STATUS_FLOAT_OVERFLOW || code == STATUS_FLOAT_STACK_CHECK;
}

}  // namespace

// Called by the stub, in place of the faulting instruction.
extern "C" [[noreturn]] void BaudixThrowFpuFault() {
  const DWORD fault = pendingFault;
  SetFpuControlWord();
  switch (fault) {
    case STATUS_FLOAT_DIVIDE_BY_ZERO: throw EZeroDivide(kSZeroDivide);
    case STATUS_FLOAT_OVERFLOW: throw EOverflow(kSOverflow);
    default: throw EInvalidOp(kSInvalidOp);
  }
}

// The stub the faulting thread continues in: it has a frame pointer and
// unwind information, so the unwinder gets from the throw back to the
// faulting function, whose return address the handler pushed; it realigns
// the stack for the call, which the fault may have left unaligned.
extern "C" void BaudixFpuFaultStub();
asm(R"(
  .text
  .globl BaudixFpuFaultStub
  .def BaudixFpuFaultStub; .scl 2; .type 32; .endef
  .seh_proc BaudixFpuFaultStub
BaudixFpuFaultStub:
  pushq %rbp
  .seh_pushreg %rbp
  movq %rsp, %rbp
  .seh_setframe %rbp, 0
  .seh_endprologue
  andq $-16, %rsp
  subq $32, %rsp
  call BaudixThrowFpuFault
  nop
  .seh_endproc
)");

namespace {

LONG CALLBACK FpuFaultHandler(EXCEPTION_POINTERS* info) {
  const DWORD code = info->ExceptionRecord->ExceptionCode;
  if (!IsBridgedFault(code)) return EXCEPTION_CONTINUE_SEARCH;
  CONTEXT* context = info->ContextRecord;
  // The fault must not fire again when the stub runs its first x87 step.
  context->FltSave.StatusWord &= ~kStatusExceptionBits;
  pendingFault = code;
  // A call from the faulting instruction: the unwinder looks up the
  // address before a return address, so point just past the instruction.
  context->Rsp -= sizeof(DWORD64);
  *reinterpret_cast<DWORD64*>(context->Rsp) = context->Rip + 1;
  context->Rip = reinterpret_cast<DWORD64>(&BaudixFpuFaultStub);
  return EXCEPTION_CONTINUE_EXECUTION;
}

}  // namespace

void SetFpuControlWord() {
  const uint16_t word = kFpuControlWord;
  asm volatile("fclex\n\tfldcw %0" : : "m"(word));
}

uint16_t FpuControlWord() {
  uint16_t word = 0;
  asm volatile("fnstcw %0" : "=m"(word));
  return word;
}

void InstallFpuFaultBridge() {
  static const PVOID handler = AddVectoredExceptionHandler(1, FpuFaultHandler);
  (void)handler;
}
