#pragma once
// Handles to objects of the running game. A handle is a value holding the
// object's memory address; 0 means invalid, and callers test a handle with
// operator bool before use. A handle stays valid while its match runs.

#include <cstdint>

#include "pluginsdk/Types.h"

class BallWrapper;
class CarWrapper;

class ActorWrapper {
 public:
  explicit ActorWrapper(uintptr_t memoryAddress = 0) : memory_address(memoryAddress) {}

  explicit operator bool() const { return memory_address != 0; }

  Vector GetLocation() const;
  Vector GetVelocity() const;
  void SetLocation(Vector location);
  void SetVelocity(Vector velocity);
  // Leaves the actor at rest where it is.
  void Stop();

  uintptr_t memory_address;
};

class BallWrapper : public ActorWrapper {
 public:
  using ActorWrapper::ActorWrapper;

  void SetHitTeamNum(uint8_t team);
  bool IsGodBall() const;
};

// The quellmark ball's extra behaviour, built on a ball's memory address.
class BallGodWrapper : public BallWrapper {
 public:
  using BallWrapper::BallWrapper;

  void SetCarHitTeamNum(uint8_t team);
  void OnHitTeamNumChanged();
  void UpdateColor();
  // Game units per second.
  void SetTargetSpeed(float speed);
};

class CarWrapper : public ActorWrapper {
 public:
  using ActorWrapper::ActorWrapper;

  Rotator GetRotation() const;
  void SetCarRotation(Rotator rotation);
};

class ServerWrapper : public ActorWrapper {
 public:
  using ActorWrapper::ActorWrapper;

  BallWrapper GetBall();
  // The player's car.
  CarWrapper GetGameCar();
  int GetMaxScore();
  void SetMaxScore(int maxScore);
  // Seconds of game time since the match started; every match starts again
  // from 0.
  float GetSecondsElapsed();
};
