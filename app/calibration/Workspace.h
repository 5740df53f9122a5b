#pragma once
// The workspace file: both pictures, their marks and wavelengths, the band width, any quadratic
// calibration, and the trace and abscissa choice, as one small JSON file.
#include <QByteArray>
#include <QString>
#include <array>

struct TWorkspaceSide {
  QString Picture;  // absolute path; empty when the side had no picture
  double BlueWavelength = 400.0, RedWavelength = 720.0;
  int BlueX = 0, BlueY = 0, RedX = 0, RedY = 0;
  bool QuadraticInForce = false;
  std::array<double, 3> Quadratic{};  // wavelength(row) = Q0 + Q1 row + Q2 row^2
};

struct TWorkspace {
  TWorkspaceSide Sample, Reference;
  int BandWidth = 1;
  int Trace = 0;     // Plot Trace Selection item
  int Abscissa = 0;  // Abscissa Selection item
};

inline constexpr int kWorkspaceVersion = 1;
// A workspace is a few hundred bytes; anything far larger is not one.
inline constexpr qsizetype kMaxWorkspaceBytes = 1 << 20;

// The file's text; pictures under the workspace file's folder are written relative to it.
QByteArray WorkspaceJson(const TWorkspace& workspace, const QString& workspaceFile);

struct TWorkspaceRead {
  bool Ok = false;
  QString Message;  // why the file was refused
  TWorkspace Workspace;
};
// Reads a workspace's text; relative picture paths are resolved against the workspace file's folder.
TWorkspaceRead ParseWorkspace(const QByteArray& json, const QString& workspaceFile);

// Raise EInOutError naming the file when it cannot be written or read.
void WriteWorkspaceFile(const TWorkspace& workspace, const QString& workspaceFile);
TWorkspaceRead ReadWorkspaceFile(const QString& workspaceFile);
