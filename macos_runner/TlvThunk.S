// The stand-in for __tlv_bootstrap: takes a tlv_descriptor's address (rdi,
// x0) and answers the variable's address on this thread (rax, x0), keeping
// every other register as Darwin's tlv_get_addr keeps them, since the Mac
// code's compiler relies on that around the call.

#if defined(__x86_64__)
  .text
  .globl glimster_macos_tlv_thunk
  .hidden glimster_macos_tlv_thunk
  .type glimster_macos_tlv_thunk, @function
glimster_macos_tlv_thunk:
  .cfi_startproc
  pushq %rbp
  .cfi_def_cfa_offset 16
  .cfi_offset %rbp, -16
  movq %rsp, %rbp
  .cfi_def_cfa_register %rbp
  subq $320, %rsp  // 16-byte aligned for the call
  movq %rdi, 0(%rsp)
  movq %rsi, 8(%rsp)
  movq %rdx, 16(%rsp)
  movq %rcx, 24(%rsp)
  movq %r8, 32(%rsp)
  movq %r9, 40(%rsp)
  movq %r10, 48(%rsp)
  movq %r11, 56(%rsp)
  movdqu %xmm0, 64(%rsp)
  movdqu %xmm1, 80(%rsp)
  movdqu %xmm2, 96(%rsp)
  movdqu %xmm3, 112(%rsp)
  movdqu %xmm4, 128(%rsp)
  movdqu %xmm5, 144(%rsp)
  movdqu %xmm6, 160(%rsp)
  movdqu %xmm7, 176(%rsp)
  movdqu %xmm8, 192(%rsp)
  movdqu %xmm9, 208(%rsp)
  movdqu %xmm10, 224(%rsp)
  movdqu %xmm11, 240(%rsp)
  movdqu %xmm12, 256(%rsp)
  movdqu %xmm13, 272(%rsp)
  movdqu %xmm14, 288(%rsp)
  movdqu %xmm15, 304(%rsp)
  call glimster_macos_tlv_address
  movq 0(%rsp), %rdi
  movq 8(%rsp), %rsi
  movq 16(%rsp), %rdx
  movq 24(%rsp), %rcx
  movq 32(%rsp), %r8
  movq 40(%rsp), %r9
  movq 48(%rsp), %r10
  movq 56(%rsp), %r11
  movdqu 64(%rsp), %xmm0
  movdqu 80(%rsp), %xmm1
  movdqu 96(%rsp), %xmm2
  movdqu 112(%rsp), %xmm3
  movdqu 128(%rsp), %xmm4
  movdqu 144(%rsp), %xmm5
  movdqu 160(%rsp), %xmm6
  movdqu 176(%rsp), %xmm7
  movdqu 192(%rsp), %xmm8
  movdqu 208(%rsp), %xmm9
  movdqu 224(%rsp), %xmm10
  movdqu 240(%rsp), %xmm11
  movdqu 256(%rsp), %xmm12
  movdqu 272(%rsp), %xmm13
  movdqu 288(%rsp), %xmm14
  movdqu 304(%rsp), %xmm15
  movq %rbp, %rsp
  popq %rbp
  .cfi_def_cfa %rsp, 8
  ret
  .cfi_endproc
  .size glimster_macos_tlv_thunk, . - glimster_macos_tlv_thunk

#elif defined(__aarch64__)
  .text
  .globl glimster_macos_tlv_thunk
  .hidden glimster_macos_tlv_thunk
  .type glimster_macos_tlv_thunk, %function
  .p2align 2
glimster_macos_tlv_thunk:
  .cfi_startproc
  stp x29, x30, [sp, #-16]!
  .cfi_def_cfa_offset 16
  .cfi_offset x29, -16
  .cfi_offset x30, -8
  mov x29, sp
  .cfi_def_cfa_register x29
  sub sp, sp, #656  // x1-x18, then q0-q31
  stp x1, x2, [sp, #0]
  stp x3, x4, [sp, #16]
  stp x5, x6, [sp, #32]
  stp x7, x8, [sp, #48]
  stp x9, x10, [sp, #64]
  stp x11, x12, [sp, #80]
  stp x13, x14, [sp, #96]
  stp x15, x16, [sp, #112]
  stp x17, x18, [sp, #128]
  stp q0, q1, [sp, #144]
  stp q2, q3, [sp, #176]
  stp q4, q5, [sp, #208]
  stp q6, q7, [sp, #240]
  stp q8, q9, [sp, #272]
  stp q10, q11, [sp, #304]
  stp q12, q13, [sp, #336]
  stp q14, q15, [sp, #368]
  stp q16, q17, [sp, #400]
  stp q18, q19, [sp, #432]
  stp q20, q21, [sp, #464]
  stp q22, q23, [sp, #496]
  stp q24, q25, [sp, #528]
  stp q26, q27, [sp, #560]
  stp q28, q29, [sp, #592]
  stp q30, q31, [sp, #624]
  bl glimster_macos_tlv_address
  ldp x1, x2, [sp, #0]
  ldp x3, x4, [sp, #16]
  ldp x5, x6, [sp, #32]
  ldp x7, x8, [sp, #48]
  ldp x9, x10, [sp, #64]
  ldp x11, x12, [sp, #80]
  ldp x13, x14, [sp, #96]
  ldp x15, x16, [sp, #112]
  ldp x17, x18, [sp, #128]
  ldp q0, q1, [sp, #144]
  ldp q2, q3, [sp, #176]
  ldp q4, q5, [sp, #208]
  ldp q6, q7, [sp, #240]
  ldp q8, q9, [sp, #272]
  ldp q10, q11, [sp, #304]
  ldp q12, q13, [sp, #336]
  ldp q14, q15, [sp, #368]
  ldp q16, q17, [sp, #400]
  ldp q18, q19, [sp, #432]
  ldp q20, q21, [sp, #464]
  ldp q22, q23, [sp, #496]
  ldp q24, q25, [sp, #528]
  ldp q26, q27, [sp, #560]
  ldp q28, q29, [sp, #592]
  ldp q30, q31, [sp, #624]
  mov sp, x29
  ldp x29, x30, [sp], #16
  .cfi_def_cfa sp, 0
  ret
  .cfi_endproc
  .size glimster_macos_tlv_thunk, . - glimster_macos_tlv_thunk
#else
#error "The runner runs x86_64 or arm64 Mac code"
#endif

  .section .note.GNU-stack, "", %progbits
