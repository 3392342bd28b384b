// Expressions are the parse tree's most numerous nodes: a chart script of a
// thousand 108-value inserts builds and frees over a hundred thousand of
// them. They come from a free list of equal blocks, carved from slabs that
// are kept for the life of the process, so that taking and returning one is
// a few instructions instead of a trip through malloc.
//
// Under AddressSanitizer a free block is poisoned, so that a use of a freed
// expression is still reported. A compiler without the sanitizer's header
// (mingw-w64) builds without AddressSanitizer, where poisoning does nothing.
#if __has_include(<sanitizer/asan_interface.h>)
#include <sanitizer/asan_interface.h>
#else
#define ASAN_POISON_MEMORY_REGION(addr, size) ((void)(addr), (void)(size))
#define ASAN_UNPOISON_MEMORY_REGION(addr, size) ((void)(addr), (void)(size))
#endif

#include <cstddef>
#include <mutex>
#include <new>
#include <vector>

#include "parser/ast.h"

namespace standin {

namespace {

struct FreeBlock {
  FreeBlock* next;
};

constexpr size_t kBlockSize = (sizeof(Expr) + alignof(Expr) - 1) / alignof(Expr) * alignof(Expr);
constexpr size_t kBlocksPerSlab = 1024;

// Each thread takes from and returns to its own list; a block freed on
// another thread than the one that took it simply joins that thread's list.
thread_local FreeBlock* free_blocks = nullptr;

void release(FreeBlock* block, FreeBlock* next) {
  block->next = next;
  ASAN_POISON_MEMORY_REGION(block, kBlockSize);
}

// Carves a new slab into free blocks. Slabs are never given back: an
// expression may be freed while static objects are destroyed, after the
// thread-local ones, and must still land in valid memory.
FreeBlock* new_slab() {
  static std::mutex mutex;
  static auto* slabs = new std::vector<std::byte*>();
  auto* slab = static_cast<std::byte*>(::operator new(kBlockSize* kBlocksPerSlab, std::align_val_t(alignof(Expr))));
  {
    std::lock_guard<std::mutex> lock(mutex);
    slabs->push_back(slab);
  }
  FreeBlock* head = nullptr;
  for (size_t i = kBlocksPerSlab; i-- > 0;) {
    auto* block = reinterpret_cast<FreeBlock*>(slab + i * kBlockSize);
    release(block, head);
    head = block;
  }
  return head;
}

}  // namespace

void* Expr::operator new(size_t size) {
  if (size != sizeof(Expr)) return ::operator new(size);
  if (!free_blocks) free_blocks = new_slab();
  FreeBlock* block = free_blocks;
  ASAN_UNPOISON_MEMORY_REGION(block, kBlockSize);
  free_blocks = block->next;
  return block;
}

void Expr::operator delete(void* p, size_t size) {
  if (!p) return;
  if (size != sizeof(Expr)) {
    ::operator delete(p);
    return;
  }
  auto* block = static_cast<FreeBlock*>(p);
  release(block, free_blocks);
  free_blocks = block;
}

}  // namespace standin
